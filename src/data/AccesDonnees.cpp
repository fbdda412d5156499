#include "data/AccesDonnees.h"

#include <algorithm>

namespace {

// The rows are copied out, so the shared query is free again at once.
Resultat LireEtFermer(Requete& requete)
{
    Resultat lignes = requete.Ouvrir();
    requete.Fermer();
    return lignes;
}

// The rows of a write of many rows that one statement takes, given the
// parameters each row and the statement itself need.
int LignesParInstruction(const Connexion& base, int parLigne, int fixes)
{
    return std::clamp((base.ParametresMax() - fixes) / std::max(parLigne, 1), 1, kLignesParEcriture);
}

// A statement of many rows: its text, its values in the order they stand in
// it, each under a name of its own.
struct Ecriture
{
    QString sql;
    QVariantList valeurs;

    Ecriture& Valeur(const QVariant& valeur)
    {
        sql += QStringLiteral(":v") + QString::number(valeurs.size());
        valeurs << valeur;
        return *this;
    }

    void Executer(Connexion& base) const
    {
        Requete requete(base);
        requete.SetSql(sql);
        for (int i = 0; i < valeurs.size(); ++i)
            requete.LierPosition(i, valeurs[i]);
        requete.Executer();
    }
};

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

void InsererParTranches(Connexion& base, const QString& table, const QStringList& colonnes,
                        const QVector<QVariantList>& lignes)
{
    const int taille = LignesParInstruction(base, int(colonnes.size()), 0);
    for (qsizetype debut = 0; debut < lignes.size(); debut += taille) {
        Ecriture insertion;
        insertion.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, colonnes.join(QStringLiteral(", ")));
        const qsizetype fin = std::min<qsizetype>(debut + taille, lignes.size());
        for (qsizetype i = debut; i < fin; ++i) {
            insertion.sql += i == debut ? QStringLiteral("(") : QStringLiteral(", (");
            for (int j = 0; j < colonnes.size(); ++j) {
                if (j > 0)
                    insertion.sql += QStringLiteral(", ");
                insertion.Valeur(lignes[i].value(j));
            }
            insertion.sql += u')';
        }
        insertion.Executer(base);
    }
}

void ModifierParTranches(Connexion& base, const QString& table, const QString& colonneCle, const QStringList& colonnes,
                         const QVector<Modification>& lignes, const QVector<std::pair<QString, QVariant>>& conditions)
{
    // UPDATE t SET c = CASE cle WHEN :k THEN :v ... ELSE c END ... WHERE cle IN (...): each
    // value stands where the server reads its column's type, as in an UPDATE
    // of one row. The first key that matches gives the values: the rows are
    // given from the last.
    const int taille = LignesParInstruction(base, 2 * int(colonnes.size()) + 1, int(conditions.size()));
    for (qsizetype debut = 0; debut < lignes.size(); debut += taille) {
        const qsizetype fin = std::min<qsizetype>(debut + taille, lignes.size());
        Ecriture modification;
        modification.sql = QStringLiteral("UPDATE %1 SET ").arg(table);
        for (int j = 0; j < colonnes.size(); ++j) {
            modification.sql += (j > 0 ? QStringLiteral(", ") : QString()) + colonnes[j] + QStringLiteral(" = CASE ")
                                + colonneCle;
            for (qsizetype i = fin - 1; i >= debut; --i) {
                modification.sql += QStringLiteral(" WHEN ");
                modification.Valeur(lignes[i].cle).sql += QStringLiteral(" THEN ");
                modification.Valeur(lignes[i].valeurs.value(j));
            }
            modification.sql += QStringLiteral(" ELSE ") + colonnes[j] + QStringLiteral(" END");
        }
        modification.sql += QStringLiteral(" WHERE ") + colonneCle + QStringLiteral(" IN (");
        for (qsizetype i = debut; i < fin; ++i) {
            if (i > debut)
                modification.sql += QStringLiteral(", ");
            modification.Valeur(lignes[i].cle);
        }
        modification.sql += u')';
        for (const auto& [colonne, valeur] : conditions) {
            modification.sql += QStringLiteral(" AND ") + colonne + QStringLiteral(" = ");
            modification.Valeur(valeur);
        }
        modification.Executer(base);
    }
}
