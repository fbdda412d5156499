#pragma once

#include "model/ListePossedee.h"
#include "model/Pose.h"
#include "model/Propriete.h"
#include "model/Tarif.h"

#include <QString>

// One joinery item of the quote, with its properties, its installation kind
// and its installation lines.
class TMenuiserie
{
public:
    const QString& GetCode() const { return code; }
    void SetCode(const QString& valeur) { code = valeur; }
    const QString& GetLibelle() const { return libelle; }
    void SetLibelle(const QString& valeur) { libelle = valeur; }
    const QString& GetDescription() const { return description; }
    void SetDescription(const QString& valeur) { description = valeur; }
    int GetQuantite() const { return quantite; }
    void SetQuantite(int valeur) { quantite = valeur; }
    TProprietes& GetProprietes() { return proprietes; }
    const TProprietes& GetProprietes() const { return proprietes; }
    TTarifs& GetTarifs() { return tarifs; }
    const TTarifs& GetTarifs() const { return tarifs; }
    TPose& GetPose() { return pose; }
    const TPose& GetPose() const { return pose; }

    // Its kind is asked for before a tariff when its key sorts before "1"
    // as text (no kind, "0").
    bool PoseAChoisir() const { return QString::compare(pose.GetId(), QStringLiteral("1")) < 0; }

    // Takes the identifier, label, export code and VAT of the given kind.
    void AffecterPose(const TPose& source) { pose.AffecterPose(source); }
    // Every installation line of the item takes that VAT.
    void AffecterTva(const TTva& source) { tarifs.AffecterTva(source); }

    // The line sums times the item's quantity field.
    double TotalAchat() const { return tarifs.TotalAchat() * quantite; }
    double TotalHt() const { return tarifs.TotalHt() * quantite; }
    double TotalTva() const { return tarifs.TotalTva() * quantite; }
    double TotalTtc() const { return TotalHt() + TotalTva(); }

    // <menuiserie code libelle  description quantite> pose, properties,
    // lines </menuiserie> and a line feed.
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    QString code;
    QString libelle;
    QString description;
    int quantite = 0;
    TProprietes proprietes;
    TTarifs tarifs;
    TPose pose;
};

// The multiplier of an item in the quote totals: its "Quantite" property as a
// whole number. When the property is missing or is not a whole number, the
// item's quantity field is used, so one odd item cannot stop the totals of
// the whole quote from being computed.
int QuantiteDevis(const TMenuiserie& menuiserie);

// The items of the quote, in file order.
class TMenuiseries : public ListePossedee<TMenuiserie>
{
public:
    void AffecterPose(const TPose& source);
    void AffecterTva(const TTva& source);
    // The number of installation lines of all items together.
    int NombreTarifs() const;

    // Quote totals: each item's line sum times QuantiteDevis.
    double TotalAchat() const;
    double TotalHt() const;
    double TotalTva() const;
    double TotalTtc() const;
    double TotalQuincaillerieHt() const;

    // <menuiseries>...</menuiseries>
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    template <class Somme>
    double TotalDevis(Somme sommeLignes) const;
};
