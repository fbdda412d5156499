#include "model/FragmentXml.h"

#include "model/Echapper.h"

#include <charconv>

void SortieXml::Debut(QStringView nom)
{
    texte_ += u'<';
    texte_ += nom;
}

void SortieXml::FinDebut()
{
    texte_ += u'>';
    apresDebut = texte_.size();
}

void SortieXml::FinVide()
{
    texte_ += u"/>";
}

void SortieXml::Fin(QStringView nom)
{
    if (forme == Forme::Compacte && apresDebut == texte_.size()) {
        texte_.chop(1);
        texte_ += u"/>";
    } else {
        texte_ += u"</";
        texte_ += nom;
        texte_ += u'>';
    }
    apresDebut = -1;
}

void SortieXml::Blanc(QStringView texte)
{
    if (forme == Forme::Fragment)
        texte_ += texte;
}

void SortieXml::DebutAttribut(QStringView nom)
{
    texte_ += u' ';
    texte_ += nom;
    texte_ += u"=\"";
}

void SortieXml::Attribut(QStringView nom, QStringView valeur)
{
    DebutAttribut(nom);
    AjouterEchappe(texte_, valeur, EchappementXml::Attribut);
    texte_ += u'"';
}

void SortieXml::AttributEchappe(QStringView nom, QStringView valeur)
{
    DebutAttribut(nom);
    AjouterEchappe(texte_, valeur, EchappementXml::Libelle);
    texte_ += u'"';
}

void SortieXml::AttributMontant(QStringView nom, double valeur)
{
    DebutAttribut(nom);
    nombres.AjouterMonetaire(texte_, valeur);
    texte_ += u'"';
}

void SortieXml::AttributEntier(QStringView nom, int valeur)
{
    char chiffres[16];
    const auto fin = std::to_chars(chiffres, chiffres + sizeof chiffres, valeur).ptr;
    DebutAttribut(nom);
    texte_ += QLatin1StringView(chiffres, fin - chiffres);
    texte_ += u'"';
}

void SortieXml::AttributDrapeau(QStringView nom, bool valeur)
{
    DebutAttribut(nom);
    texte_ += valeur ? u"1\"" : u"0\"";
}
