#pragma once

#include <QString>

class SortieXml;

// A VAT: its type code in the VAT table, its label and its rate in percent.
class TTva
{
public:
    int GetTypeTva() const { return typeTva; }
    void SetTypeTva(int valeur) { typeTva = valeur; }
    const QString& GetLibelle() const { return libelle; }
    void SetLibelle(const QString& valeur) { libelle = valeur; }
    double GetValeur() const { return taux; }
    void SetValeur(double valeur) { taux = valeur; }

    void Assign(const TTva& source)
    {
        typeTva = source.typeTva;
        libelle = source.libelle;
        taux = source.taux;
    }

    // <tva type_tva="..." libelle="..." valeur="..."/>
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    int typeTva = -1;
    QString libelle;
    double taux = 0.0;
};
