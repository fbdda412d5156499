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

// A statement of many rows: each value under a name of its own (":v0",
// ":v1"...), bound by its position. The text depends on the number of rows
// only, so the slices of one size share it and its prepared statement.
class EcritureParTranches
{
public:
    explicit EcritureParTranches(Connexion& base) : requete(base) {}

    // The text for `lignes` rows, made by `texte` from a name for each value
    // in their order, when the last slice had another size.
    template <class Texte>
    void Preparer(qsizetype lignes, Texte texte)
    {
        if (lignes != lignesSql) {
            int prochain = 0;
            sql = texte([&prochain] { return QStringLiteral(":v") + QString::number(prochain++); });
            lignesSql = lignes;
        }
        requete.SetSql(sql);
        position = 0;
    }

    // The next value, in the order of the names.
    void Lier(const QVariant& valeur) { requete.LierPosition(position++, valeur); }

    void Executer()
    {
        requete.Executer();
        requete.ViderParametres();
    }

private:
    Requete requete;
    QString sql;
    qsizetype lignesSql = -1;
    int position = 0;
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

int ExecuterParTranches(Requete& requete, const QString& sql, const QString& parametre, const QStringList& cles)
{
    int modifiees = 0;
    for (qsizetype debut = 0; debut < cles.size(); debut += Requete::kTailleListeMax) {
        requete.SetSql(sql);
        requete.LierListe(parametre, cles.mid(debut, Requete::kTailleListeMax));
        modifiees += requete.Executer();
        requete.ViderParametres();
    }
    return modifiees;
}

QString CouperTexte(const QString& texte, int largeur)
{
    if (texte.size() <= largeur)
        return texte;
    qsizetype longueur = largeur;
    if (longueur > 0 && texte[longueur - 1].isHighSurrogate())
        --longueur;
    return texte.left(longueur);
}

void InsererParTranches(Connexion& base, const QString& table, const QStringList& colonnes,
                        const QVector<QVariantList>& lignes, const std::function<void(qsizetype)>& avancement)
{
    const int taille = LignesParInstruction(base, int(colonnes.size()), 0);
    EcritureParTranches insertion(base);
    for (qsizetype debut = 0; debut < lignes.size(); debut += taille) {
        const qsizetype fin = std::min<qsizetype>(debut + taille, lignes.size());
        insertion.Preparer(fin - debut, [&](const auto& nom) {
            QStringList rangees;
            for (qsizetype i = debut; i < fin; ++i) {
                QStringList noms;
                for (int j = 0; j < colonnes.size(); ++j)
                    noms << nom();
                rangees << u'(' + noms.join(QStringLiteral(", ")) + u')';
            }
            return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                .arg(table, colonnes.join(QStringLiteral(", ")), rangees.join(QStringLiteral(", ")));
        });
        for (qsizetype i = debut; i < fin; ++i)
            for (int j = 0; j < colonnes.size(); ++j)
                insertion.Lier(lignes[i].value(j));
        insertion.Executer();
        if (avancement)
            avancement(fin);
    }
}

void ModifierParTranches(Connexion& base, const QString& table, const QString& colonneCle, const QStringList& colonnes,
                         const QVector<Modification>& lignes, const QVector<std::pair<QString, QVariant>>& conditions,
                         const std::function<void(qsizetype)>& avancement)
{
    // UPDATE t SET c = CASE cle WHEN :k THEN :v ... ELSE c END ... WHERE cle
    // IN (...): each value stands where the server reads its column's type,
    // as in an UPDATE of one row. The first key that matches gives the
    // values: the rows are given from the last.
    const int taille = LignesParInstruction(base, 2 * int(colonnes.size()) + 1, int(conditions.size()));
    EcritureParTranches modification(base);
    for (qsizetype debut = 0; debut < lignes.size(); debut += taille) {
        const qsizetype fin = std::min<qsizetype>(debut + taille, lignes.size());
        modification.Preparer(fin - debut, [&](const auto& nom) {
            QStringList affectations;
            for (const QString& colonne : colonnes) {
                QString cas = colonne + QStringLiteral(" = CASE ") + colonneCle;
                for (qsizetype i = debut; i < fin; ++i) {
                    const QString cle = nom();
                    cas += QStringLiteral(" WHEN ") + cle + QStringLiteral(" THEN ") + nom();
                }
                affectations << cas + QStringLiteral(" ELSE ") + colonne + QStringLiteral(" END");
            }
            QStringList cles;
            for (qsizetype i = debut; i < fin; ++i)
                cles << nom();
            QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 IN (%4)")
                              .arg(table, affectations.join(QStringLiteral(", ")), colonneCle,
                                   cles.join(QStringLiteral(", ")));
            for (const auto& condition : conditions)
                sql += QStringLiteral(" AND ") + condition.first + QStringLiteral(" = ") + nom();
            return sql;
        });
        for (int j = 0; j < colonnes.size(); ++j) {
            for (qsizetype i = fin - 1; i >= debut; --i) {
                modification.Lier(lignes[i].cle);
                modification.Lier(lignes[i].valeurs.value(j));
            }
        }
        for (qsizetype i = debut; i < fin; ++i)
            modification.Lier(lignes[i].cle);
        for (const auto& condition : conditions)
            modification.Lier(condition.second);
        modification.Executer();
        if (avancement)
            avancement(fin);
    }
}
