#include "app/Configuration.h"

#include "model/Ini.h"
#include "data/DMPose.h"
#include "data/Poseurs.h"

#include <QDir>
#include <algorithm>

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

QVector<Poseurs::TexteCoupe> LirePoseurs(const QString& fichierConfig)
{
    return LirePoseurs(TFichierIni(fichierConfig));
}

QVector<Poseurs::TexteCoupe> LirePoseurs(const TFichierIni& ini)
{
    const QString section = QStringLiteral("Poseur");
    const int nb = ini.LireEntier(section, QStringLiteral("Nb"), 0);
    QVector<Poseurs::ValeursHote> poseurs;
    for (const int numero : NumerosSections(ini, section, nb)) {
        Poseurs::ValeursHote& valeurs = poseurs.emplace_back();
        for (int i = 0; i < Poseurs::kNombreChampsHote; ++i)
            valeurs[i] = ini.LireTexte(section + QString::number(numero), Poseurs::ChampsHote()[i]);
    }
    return Poseurs::EnregistrerPoseursHote(poseurs);
}

QString MessageTextesCoupes(const QVector<Poseurs::TexteCoupe>& coupes, const QString& fichierConfig)
{
    if (coupes.isEmpty())
        return {};
    QStringList lignes;
    for (const Poseurs::TexteCoupe& coupe : coupes)
        lignes << QStringLiteral("- poseur « %1 », %2 : %3 caractères, les %4 premiers gardés")
                      .arg(coupe.code, coupe.champ)
                      .arg(coupe.longueur)
                      .arg(coupe.largeur);
    return QStringLiteral("Quarlo - Le fichier de configuration %1 donne des textes plus longs que ce que la base de "
                          "données garde : ils ont été enregistrés coupés. Corrigez-les dans le logiciel qui écrit ce "
                          "fichier.\n%2")
        .arg(QDir::toNativeSeparators(fichierConfig), lignes.join(u'\n'));
}

void LireTypesTva(const QString& fichierConfig)
{
    LireTypesTva(TFichierIni(fichierConfig));
}

void LireTypesTva(const TFichierIni& ini)
{
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
