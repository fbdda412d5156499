#include "app/Configuration.h"

#include "app/Ini.h"
#include "data/DMPose.h"

#include <algorithm>
#include <array>

namespace {

// The keys of a Poseur section, which are also the columns and parameters.
const std::array<QString, 13> kChampsPoseur = {
    QStringLiteral("Code"),  QStringLiteral("Nom"),      QStringLiteral("Rue1"),
    QStringLiteral("Rue2"),  QStringLiteral("Cp"),       QStringLiteral("Ville"),
    QStringLiteral("Tel"),   QStringLiteral("Fax"),      QStringLiteral("Portable"),
    QStringLiteral("Mail"),  QStringLiteral("Contact"),  QStringLiteral("Siret"),
    QStringLiteral("RGE"),
};

const QString kSqlChercherPoseur =
    QStringLiteral("SELECT * FROM Poseur WHERE Code = :Code ORDER BY Nom ASC");

const QString kSqlModifierPoseur = QStringLiteral(
    "UPDATE Poseur SET Nom = :Nom , Rue1 = :Rue1, Rue2 = :Rue2, Cp = :Cp, Ville = :Ville, "
    "Tel = :Tel, Fax = :Fax, Portable = :Portable, Mail = :Mail, Contact = :Contact, "
    "Siret = :Siret, RGE = :RGE WHERE Code = :Code");

const QString kSqlAjouterPoseur = QStringLiteral(
    "INSERT INTO Poseur ( Code, Nom, Rue1, Rue2, Cp, Ville, Tel, Fax, Portable, Mail, Contact, "
    "Siret, RGE) VALUES ( :Code , :Nom, :Rue1, :Rue2, :Cp, :Ville , :Tel, :Fax, :Portable, "
    ":Mail, :Contact, :Siret, :RGE)");

int NombrePoseursDeCode(TDMPose& dm, const QString& code)
{
    Requete& select = dm.qrySelect();
    select.SetSql(kSqlChercherPoseur);
    select.LierTexte(QStringLiteral("Code"), code);
    const int nombre = select.Ouvrir().NombreLignes();
    select.Fermer();
    return nombre;
}

// A code found exactly once is updated; a code found several times is
// ambiguous, so a new row is added and the existing ones are left alone.
void EcrirePoseur(TDMPose& dm, const TFichierIni& ini, const QString& section)
{
    std::array<QString, kChampsPoseur.size()> valeurs;
    for (size_t i = 0; i < kChampsPoseur.size(); ++i)
        valeurs[i] = ini.LireTexte(section, kChampsPoseur[i]);

    const bool connu = NombrePoseursDeCode(dm, valeurs[0]) == 1;
    Requete& exec = dm.qryExec();
    exec.SetSql(connu ? kSqlModifierPoseur : kSqlAjouterPoseur);
    for (size_t i = 0; i < kChampsPoseur.size(); ++i)
        exec.LierTexte(kChampsPoseur[i], valeurs[i]);
    exec.Executer();
    exec.ViderParametres();
}

} // namespace

QList<int> NumerosSections(const TFichierIni& ini, const QString& prefixe, int nb)
{
    QList<int> numeros;
    for (const QString& section : ini.Sections()) {
        if (!section.startsWith(prefixe, Qt::CaseInsensitive))
            continue;
        const QString suffixe = section.mid(prefixe.size());
        bool ok = false;
        const int numero = suffixe.toInt(&ok, 10);
        // Only the plain decimal form names the section: "Poseur01" is not "Poseur1".
        if (ok && numero >= 0 && numero < nb && QString::number(numero) == suffixe)
            numeros << numero;
    }
    std::sort(numeros.begin(), numeros.end());
    return numeros;
}

void LirePoseurs(const QString& fichierConfig)
{
    const TFichierIni ini(fichierConfig);
    const QString section = QStringLiteral("Poseur");
    const int nb = ini.LireEntier(section, QStringLiteral("Nb"), 0);
    const QList<int> numeros = NumerosSections(ini, section, nb);
    // Without installers the file is not written to at all.
    if (numeros.isEmpty())
        return;
    TDMPose& dm = DMPose();
    Transaction transaction(dm.Quarlo());
    for (const int numero : numeros)
        EcrirePoseur(dm, ini, section + QString::number(numero));
    transaction.Valider();
}

void LireTypesTva(const QString& fichierConfig)
{
    const TFichierIni ini(fichierConfig);
    const QString prefixe = QStringLiteral("TVA");
    const int nb = ini.LireEntier(prefixe, QStringLiteral("Nb"), 0);
    TDMPose& dm = DMPose();
    for (const int numero : NumerosSections(ini, prefixe, nb)) {
        const QString section = prefixe + QString::number(numero);
        const int type = ini.LireEntier(section, QStringLiteral("TypeTva"), -1);
        if (type < 0)
            continue;
        dm.AjouterTva(type, ini.LireTexte(section, QStringLiteral("Libelle")),
                      ini.LireDecimal(section, QStringLiteral("Valeur"), 0.0));
    }
}
