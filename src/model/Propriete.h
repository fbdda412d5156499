#pragma once

#include "model/ListePossedee.h"

#include <QHash>
#include <QString>

class SortieXml;

class TProprietes;

// A named property of a joinery item, as the host sent it. The name is kept
// upper-cased (accented letters included), the value exactly as received.
class TPropriete
{
public:
    TPropriete() = default;
    TPropriete(const QString& id, const QString& valeur);
    // A copy belongs to no list.
    TPropriete(const TPropriete& autre) : id(autre.id), valeur(autre.valeur) {}
    TPropriete& operator=(const TPropriete& autre);

    const QString& GetId() const { return id; }
    void SetId(const QString& nouvelId);
    const QString& GetValeur() const { return valeur; }
    void SetValeur(const QString& nouvelleValeur) { valeur = nouvelleValeur; }

    // <propriete id="..." valeur="..."></propriete> and a line feed.
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    friend class TProprietes;
    QString id;
    QString valeur;
    TProprietes* liste = nullptr; // told when the name changes, to refresh its index
};

// The properties of one item, in file order. Several may share a name; the
// first one of a name is the one found.
class TProprietes
{
public:
    using iterator = ListePossedee<TPropriete>::iterator;
    using const_iterator = ListePossedee<TPropriete>::const_iterator;

    TProprietes() = default;
    TProprietes(const TProprietes& autre);
    TProprietes& operator=(const TProprietes& autre);
    TProprietes(TProprietes&& autre) noexcept;
    TProprietes& operator=(TProprietes&& autre) noexcept;

    TPropriete& Ajouter(const QString& id, const QString& valeur);
    int Nombre() const { return elements.Nombre(); }
    TPropriete& operator[](int index) { return elements[index]; }
    const TPropriete& operator[](int index) const { return elements[index]; }
    void Supprimer(int index);
    void Vider();

    iterator begin() { return elements.begin(); }
    iterator end() { return elements.end(); }
    const_iterator begin() const { return elements.begin(); }
    const_iterator end() const { return elements.end(); }

    // The first property whose name is the given one upper-cased; nullptr when none.
    TPropriete* Trouver(const QString& nom);
    const TPropriete* Trouver(const QString& nom) const;

    // The value of the named property; the derived "PERIMETRE" and
    // "LARGEUR_VANTAIL" when no property of that name exists; "" otherwise.
    QString GetValeur(const QString& nom) const;

    // <proprietes>...</proprietes>
    QString GetXml() const;
    void EcrireXml(SortieXml& sortie) const;

private:
    friend class TPropriete;
    ListePossedee<TPropriete> elements;
    // Name -> index of the first property of that name, rebuilt when stale.
    mutable QHash<QString, int> index;
    mutable bool indexAJour = true;

    void Rattacher();
    void IndexPerime() { indexAJour = false; }
    const QHash<QString, int>& Index() const;
    QString Perimetre() const;
    QString LargeurVantail() const;
};
