#pragma once

#include "model/Formats.h"

#include <QString>
#include <QStringView>

// The text of the quote's elements as the objects write them, in one of two
// forms. The fragment form is the objects' own (GetXml): it keeps the blanks
// and line breaks they put between elements and writes some empty elements as
// a pair of tags. The compact form is the answer file's: no blank between
// elements, every empty element as "<name .../>". Both forms escape the values
// the same way, so the answer is written once, straight from the objects.
class SortieXml
{
public:
    enum class Forme { Fragment, Compacte };

    explicit SortieXml(Forme forme = Forme::Fragment) : forme(forme) {}

    // "<nom"; attributes follow, then FinDebut or FinVide.
    void Debut(QStringView nom);
    // ">" ending a start tag whose content follows.
    void FinDebut();
    // "/>" ending an element that never has content.
    void FinVide();
    // "</nom>"; in the compact form "/>" when nothing was written since
    // FinDebut.
    void Fin(QStringView nom);
    // Blanks and line breaks of the fragment form; nothing in the compact form.
    void Blanc(QStringView texte);
    // Text written as it is.
    void Brut(QStringView texte) { contenu += texte; }

    // ` nom="valeur"` for the values written as they are: only "&", "<" and
    // the double quote are replaced, which keeps the file well-formed.
    void Attribut(QStringView nom, QStringView valeur);
    // ` nom="valeur"` for the labels: "&", the double quote, "'", "<" and ">"
    // are replaced (Echapper).
    void AttributEchappe(QStringView nom, QStringView valeur);
    // ` nom="12,50"`: FormatMonetaire.
    void AttributMontant(QStringView nom, double valeur);
    // ` nom="-1"`: decimal integer, ASCII minus sign.
    void AttributEntier(QStringView nom, int valeur);
    // ` nom="1"` or ` nom="0"`.
    void AttributDrapeau(QStringView nom, bool valeur);

    void Reserver(qsizetype taille) { contenu.reserve(taille); }
    const QString& Texte() const { return contenu; }

private:
    Forme forme;
    FormeNombres nombres;
    QString contenu;
    // The length of the text right after the last FinDebut, while nothing
    // has been written after it; -1 otherwise.
    qsizetype apresDebut = -1;

    void DebutAttribut(QStringView nom);
};

// The fragment form of one object: its GetXml.
template <class Objet>
QString FragmentDe(const Objet& objet)
{
    SortieXml sortie;
    objet.EcrireXml(sortie);
    return sortie.Texte();
}
