#include "model/FragmentXml.h"

#include "model/Echapper.h"

#include <charconv>

void SortieXml::Debut(QStringView nom)
{
    contenu += u'<';
    contenu += nom;
}

void SortieXml::FinDebut()
{
    contenu += u'>';
    apresDebut = contenu.size();
}

void SortieXml::FinVide()
{
    contenu += u"/>";
}

void SortieXml::Fin(QStringView nom)
{
    if (forme == Forme::Compacte && apresDebut == contenu.size()) {
        contenu.chop(1);
        contenu += u"/>";
    } else {
        contenu += u"</";
        contenu += nom;
        contenu += u'>';
    }
    apresDebut = -1;
}

void SortieXml::Blanc(QStringView texte)
{
    if (forme == Forme::Fragment)
        contenu += texte;
}

void SortieXml::DebutAttribut(QStringView nom)
{
    contenu += u' ';
    contenu += nom;
    contenu += u"=\"";
}

void SortieXml::Attribut(QStringView nom, QStringView valeur)
{
    DebutAttribut(nom);
    AjouterEchappe(contenu, valeur, EchappementXml::Attribut);
    contenu += u'"';
}

void SortieXml::AttributEchappe(QStringView nom, QStringView valeur)
{
    DebutAttribut(nom);
    AjouterEchappe(contenu, valeur, EchappementXml::Libelle);
    contenu += u'"';
}

void SortieXml::AttributMontant(QStringView nom, double valeur)
{
    DebutAttribut(nom);
    nombres.AjouterMonetaire(contenu, valeur);
    contenu += u'"';
}

void SortieXml::AttributEntier(QStringView nom, int valeur)
{
    char chiffres[16];
    const auto fin = std::to_chars(chiffres, chiffres + sizeof chiffres, valeur).ptr;
    DebutAttribut(nom);
    contenu += QLatin1StringView(chiffres, fin - chiffres);
    contenu += u'"';
}

void SortieXml::AttributDrapeau(QStringView nom, bool valeur)
{
    DebutAttribut(nom);
    contenu += valeur ? u"1\"" : u"0\"";
}
