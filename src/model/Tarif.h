#pragma once

#include "model/ListePossedee.h"
#include "model/Quincaillerie.h"
#include "model/Tva.h"

class TPose;

#include <QString>
#include <memory>

// One installation line: a tariff of the database applied to an item, with
// its installer (the purchase side), its VAT and its hardware.
class TTarif
{
public:
    TTarif() = default;
    TTarif(const TTarif&) = delete;
    TTarif& operator=(const TTarif&) = delete;

    // A new line for a tariff of the database under an installation kind:
    // the tariff's key, label and sale price (PrendreTarif), its hardware
    // included, and the kind's VAT when the kind has one.
    static std::unique_ptr<TTarif> Nouveau(const TPose& pose, const QString& id, const QString& libelle, double prix);
    // A copy of the line with copies of its hardware.
    std::unique_ptr<TTarif> Cloner() const;

    // The line takes another tariff: its key, label and sale price, and the
    // export code of the kind. Installer, VAT and hardware stay.
    void PrendreTarif(const TPose& pose, const QString& idTarif, const QString& libelleTarif, double prixTarif);

    const QString& GetId() const { return id; }
    void SetId(const QString& valeur) { id = valeur; }
    const QString& GetLibelle() const { return libelle; }
    void SetLibelle(const QString& valeur) { libelle = valeur; }
    double GetPrix() const { return prix; }
    void SetPrix(double valeur) { prix = valeur; }
    const QString& GetCodeExport() const { return codeExport; }
    void SetCodeExport(const QString& valeur) { codeExport = valeur; }
    const QString& GetPoseurId() const { return poseurId; }
    void SetPoseurId(const QString& valeur) { poseurId = valeur; }
    const QString& GetPoseurNom() const { return poseurNom; }
    void SetPoseurNom(const QString& valeur) { poseurNom = valeur; }
    double GetPoseurPrix() const { return poseurPrix; }
    void SetPoseurPrix(double valeur) { poseurPrix = valeur; }
    const QString& GetPoseurSiret() const { return poseurSiret; }
    void SetPoseurSiret(const QString& valeur) { poseurSiret = valeur; }
    const QString& GetPoseurRge() const { return poseurRge; }
    void SetPoseurRge(const QString& valeur) { poseurRge = valeur; }
    TTva& GetTva() { return tva; }
    const TTva& GetTva() const { return tva; }
    bool GetQuincaillerieIncluse() const { return quincaillerieIncluse; }
    void SetQuincaillerieIncluse(bool valeur) { quincaillerieIncluse = valeur; }
    TQuincailleries& GetQuincailleries() { return quincailleries; }
    const TQuincailleries& GetQuincailleries() const { return quincailleries; }

    double PrixTva() const { return tva.GetValeur() * 0.01 * prix; }
    double PrixTtc() const { return prix + PrixTva(); }
    void AffecterTva(const TTva& source) { tva.Assign(source); }

    // <tarif ...><poseur .../><tva .../><quincailleries>...</quincailleries></tarif>
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    QString id;
    QString libelle;
    double prix = 0.0;
    QString codeExport;
    QString poseurId;
    QString poseurNom;
    double poseurPrix = 0.0;
    QString poseurSiret;
    QString poseurRge;
    TTva tva;
    bool quincaillerieIncluse = true;
    TQuincailleries quincailleries;
};

// The installation lines of one item. A line's hardware counts in the sums
// only when the line includes it.
class TTarifs : public ListePossedee<TTarif>
{
public:
    double TotalAchat() const;
    double TotalHt() const;
    double TotalTva() const;
    double TotalTtc() const;
    double TotalQuincaillerieHt() const;

    void AffecterTva(const TTva& source);

    // The installer a new line inherits: the first one found among the
    // lines, unless a later line has another one or none.
    QString PoseurHerite() const;

    // <tarifs>...</tarifs> and a line feed.
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    template <class Montant>
    double Somme(Montant montant) const;
};
