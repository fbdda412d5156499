#include "data/AccesDonnees.h"

namespace {

// The rows are copied out, so the shared query is free again at once.
Resultat LireEtFermer(Requete& requete)
{
    Resultat lignes = requete.Ouvrir();
    requete.Fermer();
    return lignes;
}

} // namespace

Resultat LireTout(Requete& requete, const QString& sql)
{
    requete.SetSql(sql);
    return LireEtFermer(requete);
}

Resultat LireParCle(Requete& requete, const QString& sql, const QString& parametre,
                    const QString& cle)
{
    requete.SetSql(sql);
    requete.LierTexte(parametre, cle);
    return LireEtFermer(requete);
}

int ExecuterParCle(Requete& requete, const QString& sql, const QString& parametre,
                   const QString& cle)
{
    requete.SetSql(sql);
    requete.LierTexte(parametre, cle);
    const int modifiees = requete.Executer();
    requete.ViderParametres();
    return modifiees;
}

QHash<QString, QString> Correspondances(const Resultat& lignes, const QString& cle,
                                        const QString& valeur)
{
    QHash<QString, QString> resultat;
    resultat.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes)
        resultat.insert(ligne.Texte(cle), ligne.Texte(valeur));
    return resultat;
}

QVector<Entree> Entrees(const Resultat& lignes, const QString& cle, const QString& libelle)
{
    QVector<Entree> entrees;
    entrees.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes)
        entrees.append({ligne.Texte(cle), ligne.Texte(libelle)});
    return entrees;
}

QHash<qint64, QStringList> ClesParEntier(const QStringList& cles)
{
    QHash<qint64, QStringList> parEntier;
    for (const QString& cle : cles) {
        if (const std::optional<qint64> entier = CleEnEntier(cle)) {
            QStringList& memes = parEntier[*entier];
            if (!memes.contains(cle))
                memes << cle;
        }
    }
    return parEntier;
}

void LireParTranches(Requete& requete, const QString& sql, const QString& parametre, const QList<qint64>& entiers,
                     const std::function<void(const Ligne&)>& lire, const std::function<void()>& lier, int taille)
{
    for (qsizetype debut = 0; debut < entiers.size(); debut += taille) {
        QStringList tranche;
        for (const qint64 entier : entiers.mid(debut, taille))
            tranche << QString::number(entier);
        requete.SetSql(sql);
        requete.LierListe(parametre, tranche);
        if (lier)
            lier();
        for (const Ligne& ligne : requete.Ouvrir())
            lire(ligne);
        requete.ViderParametres();
        requete.Fermer();
    }
}
