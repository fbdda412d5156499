#pragma once

// The back end a test runs on: the file, or a server when the test is
// registered for it (QUARLO_ESSAI_BASE=serveur). The server tests then reach
// the throwaway cluster that scripts/test.sh starts, through the connection
// string in QUARLO_ESSAI_SERVEUR; each test works in a schema of its own, so
// tests running at the same time never see each other's rows. A server test
// without its server fails: it is never skipped. Needs only the database layer.

#include "engine/Base.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QtGlobal>

inline bool EssaiSurServeur()
{
    return qEnvironmentVariable("QUARLO_ESSAI_BASE") == QLatin1String("serveur");
}

// In a test function of a test registered on both back ends.
#define SUR_LE_FICHIER_SEULEMENT()                                                                                    \
    if (EssaiSurServeur())                                                                                             \
    QSKIP("the file back end only")
#define SUR_LE_SERVEUR_SEULEMENT()                                                                                     \
    if (!EssaiSurServeur())                                                                                            \
    QSKIP("the server back end only")

// A setting of the test server: from the environment, else from the state
// file of the cluster that CTest's fixture started (QUARLO_ESSAI_ETAT);
// "" when neither gives it.
inline QString ReglageEssai(const char* nom)
{
    const QString donne = qEnvironmentVariable(nom);
    if (!donne.isEmpty())
        return donne;
    QFile etat(qEnvironmentVariable("QUARLO_ESSAI_ETAT"));
    if (!etat.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QByteArray prefixe = QByteArray(nom) + '=';
    while (!etat.atEnd()) {
        const QByteArray ligne = etat.readLine().trimmed();
        if (ligne.startsWith(prefixe))
            return QString::fromUtf8(ligne.mid(prefixe.size()));
    }
    return QString();
}

inline QString ServeurEssai()
{
    const QString chaine = ReglageEssai("QUARLO_ESSAI_SERVEUR");
    if (chaine.isEmpty())
        qFatal("QUARLO_ESSAI_SERVEUR is not set: the server tests need the cluster that CTest's fixture "
               "(scripts/serveur-essai.sh) starts");
    return chaine;
}

// A schema of its own on the test server, dropped with everything in it at the end.
class SchemaEssai
{
public:
    SchemaEssai()
        : nom(QStringLiteral("essai_%1_%2")
                  .arg(QCoreApplication::applicationPid())
                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))),
          chaine(ServeurEssai() + QStringLiteral(" options='-c search_path=%1'").arg(nom))
    {
        Administrer(QStringLiteral("CREATE SCHEMA %1").arg(nom));
    }

    ~SchemaEssai()
    {
        try {
            Administrer(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(nom));
        } catch (const ErreurBase& erreur) {
            qWarning("%s", erreur.what());
        }
    }

    SchemaEssai(const SchemaEssai&) = delete;
    SchemaEssai& operator=(const SchemaEssai&) = delete;

    const QString& Nom() const { return nom; }
    // A connection string whose connections work in this schema.
    const QString& Chaine() const { return chaine; }

private:
    QString nom;
    QString chaine;

    static void Administrer(const QString& sql)
    {
        Connexion admin;
        admin.OuvrirServeur(ServeurEssai());
        admin.ExecuterScript(sql);
    }
};
