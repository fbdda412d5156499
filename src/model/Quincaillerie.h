#pragma once

#include "model/ListePossedee.h"

#include <QString>
#include <memory>

class SortieXml;

// One hardware entry of a line or of the quote: packs of pieces sold by the pack.
class TQuincaillerie
{
public:
    const QString& GetId() const { return id; }
    void SetId(const QString& valeur) { id = valeur; }
    const QString& GetLibelle() const { return libelle; }
    void SetLibelle(const QString& valeur) { libelle = valeur; }
    const QString& GetLibelle2() const { return libelle2; }
    void SetLibelle2(const QString& valeur) { libelle2 = valeur; }
    double GetTarifAchat() const { return tarifAchat; }
    void SetTarifAchat(double valeur) { tarifAchat = valeur; }
    double GetTarifVente() const { return tarifVente; }
    void SetTarifVente(double valeur) { tarifVente = valeur; }
    double GetNbPieces() const { return nbPieces; }
    void SetNbPieces(double valeur) { nbPieces = valeur; }
    double GetNbPiecesMl() const { return nbPiecesMl; }
    void SetNbPiecesMl(double valeur) { nbPiecesMl = valeur; }
    double GetQuantite() const { return quantite; }
    void SetQuantite(double valeur) { quantite = valeur; }
    int GetSecable() const { return secable; }
    void SetSecable(int valeur) { secable = valeur; }
    const QString& GetCodeExport() const { return codeExport; }
    void SetCodeExport(const QString& valeur) { codeExport = valeur; }

    void Assign(const TQuincaillerie& source) { *this = source; }

    // The number of packs for nh heights of h mm and nw widths of w mm:
    // metres × pieces per metre ÷ pieces per pack, rounded up to a whole pack
    // unless packs can be split. A zero sale price or pack size, or a result
    // that is not a number, keeps the quantity unchanged.
    void CalculerQuantite(int nh, int h, int nw, int w);

    // <quincaillerie id=... .../>
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    QString id;
    QString libelle;
    QString libelle2;
    double tarifAchat = 0.0;
    double tarifVente = 0.0;
    double nbPieces = 0.0;
    double nbPiecesMl = 0.0;
    double quantite = 0.0;
    int secable = 0;
    QString codeExport;
};

// A hardware list. Hardware VAT is always 20 %, whatever the line's VAT.
class TQuincailleries : public ListePossedee<TQuincaillerie>
{
public:
    static constexpr double kTauxTva = 20.0;

    using ListePossedee<TQuincaillerie>::Ajouter;
    // Appends a new empty entry.
    TQuincaillerie& Ajouter() { return Ajouter(std::make_unique<TQuincaillerie>()); }

    // Replaces the content with copies of the other list's entries.
    void CopierDepuis(const TQuincailleries& source);

    // The first entry with exactly that id; nullptr when none.
    TQuincaillerie* Trouver(const QString& id);
    const TQuincaillerie* Trouver(const QString& id) const;

    double GetTauxTva() const { return kTauxTva; }
    double TotalAchat() const;
    double TotalHt() const;
    double TotalTva() const { return kTauxTva * 0.01 * TotalHt(); }
    double TotalTtc() const { return TotalHt() + TotalTva(); }

    // <quincailleries>...</quincailleries>
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;
};
