#pragma once

// Every row of a SELECT as one text "value|value|...", so that a comparison
// shows any change in any column. Needs only the database layer.

#include "engine/Base.h"

#include <QStringList>

inline QStringList LignesTexte(Connexion& base, const QString& sql)
{
    Requete requete(base);
    requete.SetSql(sql);
    QStringList lignes;
    for (const Ligne& ligne : requete.Ouvrir()) {
        QStringList valeurs;
        for (int i = 0; i < ligne.NombreColonnes(); ++i)
            valeurs << ligne.ValeurIndice(i).toString();
        lignes << valeurs.join(QLatin1Char('|'));
    }
    return lignes;
}
