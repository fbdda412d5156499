#pragma once

#include <QString>

class SortieXml;

// A VAT: its type code in the VAT table, its label and its rate in percent.
class TTva
{
public:
    int GetTypeTva() const { return type_tva; }
    void SetTypeTva(int valeur) { type_tva = valeur; }
    const QString& GetLibelle() const { return libelle; }
    void SetLibelle(const QString& valeur) { libelle = valeur; }
    double GetValeur() const { return valeur_; }
    void SetValeur(double valeur) { valeur_ = valeur; }

    void Assign(const TTva& source)
    {
        type_tva = source.type_tva;
        libelle = source.libelle;
        valeur_ = source.valeur_;
    }

    // <tva type_tva="..." libelle="..." valeur="..."/>
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    int type_tva = -1;
    QString libelle;
    double valeur_ = 0.0;
};
