#pragma once

#include "model/Tva.h"

#include <QString>
#include <array>

// An installation kind: the kind of work, its export code and its VAT.
class TPose
{
public:
    TPose() = default;
    TPose(const TPose&) = default;
    TPose& operator=(const TPose&) = default;
    virtual ~TPose() = default;

    const QString& GetId() const { return id; }
    void SetId(const QString& valeur) { id = valeur; }
    const QString& GetLibelle() const { return libelle; }
    void SetLibelle(const QString& valeur) { libelle = valeur; }
    const QString& GetCodeExport() const { return codeExport; }
    void SetCodeExport(const QString& valeur) { codeExport = valeur; }
    TTva& GetTva() { return tva; }
    const TTva& GetTva() const { return tva; }

    void AffecterTva(const TTva& source) { tva.Assign(source); }
    // Takes the identifier, label, export code and VAT of another kind.
    void AffecterPose(const TPose& source);

    // <pose id="..." libelle="..." code_export="..."><tva .../></pose> and a line feed.
    QString GetXml() const;
    virtual void EcrireXml(SortieXml& sortie) const;

protected:
    void EcrireDebut(SortieXml& sortie) const;
    void EcrireFin(SortieXml& sortie) const;

private:
    QString id;
    QString libelle;
    QString codeExport;
    TTva tva;
};

// The quote-wide installation kind, with its four delivery surcharges.
class TPoseLivraison : public TPose
{
public:
    // In the order the options are shown, summed and written.
    enum OptionLivraison { Livraison, LivraisonCompliquee, LivraisonAutorisation, LivraisonManutention };
    static constexpr int kNombreOptions = 4;
    static constexpr std::array<OptionLivraison, kNombreOptions> kOptions{
        Livraison, LivraisonCompliquee, LivraisonAutorisation, LivraisonManutention};

    // "livraison", "livraison_compliquee"...: the option's element name.
    static QString NomElement(OptionLivraison option);

    bool GetChoix(OptionLivraison option) const { return options[option].choix; }
    void SetChoix(OptionLivraison option, bool valeur) { options[option].choix = valeur; }
    double GetPrix(OptionLivraison option) const { return options[option].prix; }
    void SetPrix(OptionLivraison option, double valeur) { options[option].prix = valeur; }
    const QString& GetCodeExportOption(OptionLivraison option) const { return options[option].codeExport; }
    void SetCodeExportOption(OptionLivraison option, const QString& valeur) { options[option].codeExport = valeur; }

    // The sum of the prices of the chosen options.
    double TotalLivraison() const;

    // <pose ...> the four options (each preceded by a blank), a line feed,
    // the <tva/>, </pose> and a line feed.
    void EcrireXml(SortieXml& sortie) const override;

private:
    struct Option
    {
        bool choix = false;
        double prix = 0.0;
        QString codeExport;
    };
    std::array<Option, kNombreOptions> options;
};
