#include "data/Tarifs.h"

#include "data/AccesDonnees.h"
#include "data/Categories.h"
#include "data/DMPose.h"
#include "model/Formats.h"

#include <QHash>
#include <QSet>
#include <stdexcept>

namespace {

using Tarifs::TarifActuel;

// The tariffs of one kind and installer, by key.
QVector<TarifActuel> TarifsDe(Requete& requete, const Tarifs::Choix& choix)
{
    requete.SetSql(QStringLiteral("SELECT IdTarif, IdPose, IdCategorie, IdPoseur, Prix"
                                  " FROM Tarif"
                                  " WHERE IdPose = :IdPose"
                                  " AND IdPoseur = :IdPoseur"
                                  " ORDER BY IdTarif"));
    requete.LierTexte(QStringLiteral("IdPose"), choix.idPose);
    requete.LierTexte(QStringLiteral("IdPoseur"), choix.idPoseur);
    QVector<TarifActuel> tarifs;
    const QString prix = QStringLiteral("Prix");
    for (const Ligne& ligne : requete.Ouvrir()) {
        tarifs.append({ligne.Texte(QStringLiteral("IdTarif")), ligne.Texte(QStringLiteral("IdPose")),
                       ligne.Texte(QStringLiteral("IdPoseur")), ligne.Texte(QStringLiteral("IdCategorie")),
                       ligne.EstNul(prix) ? std::nullopt : std::optional(ligne.Decimal(prix))});
    }
    requete.ViderParametres();
    requete.Fermer();
    return tarifs;
}

// The tariff of each category of a grid: the last one wins, as the rows
// come by key.
QHash<QString, TarifActuel> DerniersTarifs(const QVector<TarifActuel>& tarifs)
{
    QHash<QString, TarifActuel> derniers;
    for (const TarifActuel& tarif : tarifs)
        derniers.insert(tarif.idCategorie, tarif);
    return derniers;
}

QString CleTarif(const QString& idPose, const QString& idPoseur, const QString& idCategorie)
{
    return idPose + QLatin1Char('|') + idPoseur + QLatin1Char('|') + idCategorie;
}

// The price a typed text asks for: nothing for an empty cell, a cell
// holding only blanks included.
struct PrixVoulu
{
    bool lisible = true;
    std::optional<double> prix;
};

PrixVoulu LirePrixSaisi(const QString& texte)
{
    if (texte.trimmed().isEmpty())
        return {};
    const std::optional<double> prix = LireDecimal(texte);
    return {prix.has_value(), prix};
}

qint64 CleEntiere(const QString& cle)
{
    const std::optional<int> valeur = LireEntier(cle);
    if (!valeur)
        throw std::invalid_argument(
            QStringLiteral("La clé « %1 » n'est pas un nombre entier.").arg(cle).toStdString());
    return *valeur;
}

// Keys come from the host's file and from lists: every one is bound, so a
// key holding a quote or letters simply finds no row.
const QString kSqlPrixGeneral = QStringLiteral(
    "SELECT t1.Prix FROM Tarif t1, Tarif t2"
    " where t2.Idtarif = :IdTarif"
    " and t1.IdPose = t2.IdPose"
    " and t1.IdCategorie = t2.IdCategorie "
    " and t1.IdPoseur = 0");

const QString kSqlPrixPoseur = QStringLiteral(
    "SELECT t1.Prix FROM Tarif t1, Tarif t2"
    " where t2.Idtarif = :IdTarif"
    " and t1.IdPose = t2.IdPose "
    " and t1.IdCategorie = t2.IdCategorie "
    " and t1.IdPoseur = :IdPoseur"
    " ORDER BY t1.Idtarif DESC");

std::optional<double> PremierPrix(const Resultat& lignes)
{
    if (lignes.EstVide())
        return std::nullopt;
    return lignes.Premiere().Decimal(QStringLiteral("Prix"));
}

Resultat Lire(Requete& requete, const QString& sql, std::initializer_list<std::pair<const char*, QString>> cles)
{
    requete.SetSql(sql);
    for (const auto& [nom, valeur] : cles)
        requete.LierTexte(QLatin1String(nom), valeur);
    Resultat lignes = requete.Ouvrir();
    requete.ViderParametres();
    requete.Fermer();
    return lignes;
}

// The copy itself, inside the caller's group: the target emptied, then
// given the source's rows in one statement.
void CopierGrille(const Tarifs::Choix& source, const Tarifs::Choix& cible)
{
    const qint64 poseSource = CleEntiere(source.idPose);
    const qint64 poseurSource = CleEntiere(source.idPoseur);
    const qint64 poseCible = CleEntiere(cible.idPose);
    const qint64 poseurCible = CleEntiere(cible.idPoseur);

    Requete& requete = DMPose().qryExec();
    requete.SetSql(QStringLiteral("DELETE FROM Tarif WHERE idPose = :idPose AND idPoseur = :idPoseur"));
    requete.LierEntier(QStringLiteral("idPose"), poseCible);
    requete.LierEntier(QStringLiteral("idPoseur"), poseurCible);
    requete.Executer();
    requete.ViderParametres();

    requete.SetSql(QStringLiteral(
        "INSERT INTO Tarif (idPose, idCategorie, idPoseur, Prix) SELECT DISTINCT :idPoseSec AS idPose, "
        "idCategorie, :idPoseurSec AS idPoseur, Prix FROM Tarif WHERE idPose = :idPoseInit "
        "AND idPoseur = :idPoseurInit"));
    requete.LierEntier(QStringLiteral("idPoseSec"), poseCible);
    requete.LierEntier(QStringLiteral("idPoseurSec"), poseurCible);
    requete.LierEntier(QStringLiteral("idPoseInit"), poseSource);
    requete.LierEntier(QStringLiteral("idPoseurInit"), poseurSource);
    requete.Executer();
    requete.ViderParametres();
}

} // namespace

namespace Tarifs {

QVector<TarifGeneral> Generaux(const QString& idPose)
{
    QVector<TarifGeneral> tarifs;
    for (const TarifActuel& tarif : TarifsDe(DMPose().qrySelect(), {idPose, kPoseurGeneral}))
        tarifs.append({tarif.cle, tarif.idCategorie, tarif.prix});
    return tarifs;
}

std::optional<double> PrixGeneral(const QString& idTarif)
{
    // The pricing lists run this for every line at every repaint: a query of
    // its own (the prepared statement is cached by the connection), so that
    // painting never disturbs the shared queries another unit may be using.
    Requete requete(DMPose().Quarlo());
    return PremierPrix(Lire(requete, kSqlPrixGeneral, {{"IdTarif", idTarif}}));
}

std::optional<double> PrixPoseur(const QString& idTarif, const QString& idPoseur)
{
    return PremierPrix(Lire(DMPose().qrySelect(), kSqlPrixPoseur, {{"IdTarif", idTarif}, {"IdPoseur", idPoseur}}));
}

QVector<LigneGrille> Grille(const Choix& choix)
{
    const QHash<QString, TarifActuel> tarifs = DerniersTarifs(TarifsDe(DMPose().qrySousSelect(), choix));

    QVector<LigneGrille> lignes;
    for (const Categories::CategorieTypee& categorie : Categories::AvecType()) {
        LigneGrille ligne{categorie.cle, categorie.idCategorieType, categorie.typeLibelle,
                          categorie.libelle, categorie.Nom(), QString(), std::nullopt};
        const auto tarif = tarifs.constFind(categorie.cle);
        if (tarif != tarifs.constEnd()) {
            ligne.idTarif = tarif->cle;
            ligne.prix = tarif->prix;
        }
        lignes.append(ligne);
    }
    return lignes;
}

QString TextePrix(const LigneGrille& ligne)
{
    return ligne.prix ? FormatGeneral(*ligne.prix) : QString();
}

EnregistrementGrille EnregistrerGrille(const Choix& choix, const QVector<LigneGrille>& lue, const QStringList& prix)
{
    // The rows to write, with their price; the checks come first, so that
    // a refusal writes nothing.
    QVector<EcritureTarif> ecritures;
    QVector<int> lignes; // the row of each write
    for (int i = 0; i < lue.size(); ++i) {
        if (prix[i] == TextePrix(lue[i]))
            continue;
        const PrixVoulu voulu = LirePrixSaisi(prix[i]);
        if (!voulu.lisible)
            return {RefusGrille{RefusGrille::Motif::PrixInvalide, i}, {}};
        if (voulu.prix && !MontantAdmissible(*voulu.prix))
            return {RefusGrille{RefusGrille::Motif::PrixHorsLimites, i}, {}};
        if (voulu.prix != lue[i].prix) {
            ecritures.append({lue[i].idTarif, lue[i].prix, choix.idPose, choix.idPoseur, lue[i].idCategorie, voulu.prix});
            lignes.append(i);
        }
    }
    if (ecritures.isEmpty())
        return {};
    if (choix.idPose.isEmpty())
        return {RefusGrille{RefusGrille::Motif::SansPose}, {}};

    Transaction transaction(DMPose().Quarlo());
    const QVector<TarifActuel> actuels = TarifsDe(DMPose().qrySousSelect(), choix);
    const QVector<int> nonFaites = EcrireTarifs(ecritures, actuels);
    EnregistrementGrille enregistrement;
    // A row the other copy already gave the price typed is no conflict.
    const QHash<QString, TarifActuel> derniers = DerniersTarifs(actuels);
    for (const int k : nonFaites) {
        const auto actuel = derniers.constFind(ecritures[k].idCategorie);
        if (ecritures[k].prix != (actuel == derniers.constEnd() ? std::nullopt : actuel->prix))
            enregistrement.laissees.append(lignes[k]);
    }
    transaction.Valider();
    return enregistrement;
}

QVector<int> EcrireTarifs(const QVector<EcritureTarif>& ecritures, const QVector<TarifActuel>& actuels)
{
    QHash<QString, const TarifActuel*> parCle;
    QSet<QString> existants; // kind, installer and category of every tariff
    for (const TarifActuel& actuel : actuels) {
        parCle.insert(actuel.cle, &actuel);
        existants.insert(CleTarif(actuel.idPose, actuel.idPoseur, actuel.idCategorie));
    }
    QVector<Modification> modifications;
    QStringList suppressions;
    QVector<QVariantList> ajouts;
    QVector<int> nonFaites;
    for (int i = 0; i < ecritures.size(); ++i) {
        const EcritureTarif& ecriture = ecritures[i];
        if (ecriture.idTarif.isEmpty()) {
            const QString cle = CleTarif(ecriture.idPose, ecriture.idPoseur, ecriture.idCategorie);
            if (!ecriture.prix || existants.contains(cle)) {
                nonFaites.append(i);
                continue;
            }
            existants.insert(cle);
            ajouts.append({CleEntiere(ecriture.idPose), CleEntiere(ecriture.idCategorie), CleEntiere(ecriture.idPoseur),
                           *ecriture.prix});
            continue;
        }
        const TarifActuel* actuel = parCle.value(ecriture.idTarif);
        if (!actuel || actuel->prix != ecriture.lu) {
            nonFaites.append(i);
        } else if (ecriture.prix) {
            modifications.append({ecriture.idTarif, {*ecriture.prix}});
        } else {
            suppressions << ecriture.idTarif;
        }
    }
    Connexion& base = DMPose().Quarlo();
    ModifierParTranches(base, QStringLiteral("Tarif"), QStringLiteral("IdTarif"), {QStringLiteral("Prix")}, modifications);
    ExecuterParTranches(DMPose().qryExec(), QStringLiteral("DELETE FROM Tarif WHERE IdTarif IN (:IdTarifs)"),
                        QStringLiteral("IdTarifs"), suppressions);
    InsererParTranches(base, QStringLiteral("Tarif"),
                       {QStringLiteral("IdPose"), QStringLiteral("IdCategorie"), QStringLiteral("IdPoseur"),
                        QStringLiteral("Prix")},
                       ajouts);
    return nonFaites;
}

QStringList EnteteExportation()
{
    return {QStringLiteral("IdPose"),          QStringLiteral("Pose"),
            QStringLiteral("IdPoseur"),        QStringLiteral("Poseur"),
            QStringLiteral("IdCategorieType"), QStringLiteral("CategorieType"),
            QStringLiteral("IdCatégorie"),     QStringLiteral("Catégorie"),
            QStringLiteral("CatégorieLibelle"), QStringLiteral("Prix")};
}

QVector<QStringList> LignesExportation(const Choix& choix, const QString& nomPose, const QString& nomPoseur)
{
    QVector<QStringList> lignes;
    for (const LigneGrille& ligne : Grille(choix)) {
        lignes.append({choix.idPose, nomPose, choix.idPoseur, nomPoseur, ligne.idCategorieType,
                       ligne.typeLibelle, ligne.idCategorie, ligne.categorieLibelle, ligne.nom,
                       ligne.prix ? FormatMonetaire(*ligne.prix) : QString()});
    }
    return lignes;
}

void Copier(const Choix& source, const Choix& cible)
{
    Transaction transaction(DMPose().Quarlo());
    CopierGrille(source, cible);
    transaction.Valider();
}

LectureCopie LireCopie(const Choix& source, const Choix& cible)
{
    return {TarifsDe(DMPose().qrySelect(), source), TarifsDe(DMPose().qrySelect(), cible)};
}

bool Copier(const Choix& source, const Choix& cible, const LectureCopie& lue)
{
    Transaction transaction(DMPose().Quarlo());
    const LectureCopie actuelle = LireCopie(source, cible);
    if (actuelle.source != lue.source || actuelle.cible != lue.cible)
        return false;
    CopierGrille(source, cible);
    transaction.Valider();
    return true;
}

namespace {

// PrixGeneral for a list of keys; the first row of each key, as one key alone gives it.
const QString kSqlPrixGeneraux = QStringLiteral(
    "SELECT t2.IdTarif AS Cle, t1.Prix FROM Tarif t1, Tarif t2"
    " WHERE t2.IdTarif IN (:IdTarifs)"
    " AND t1.IdPose = t2.IdPose"
    " AND t1.IdCategorie = t2.IdCategorie"
    " AND t1.IdPoseur = 0"
    " ORDER BY t2.IdTarif, t1.IdTarif");

// PrixPoseur for lists of tariff and installer keys; the highest key of each pair first.
const QString kSqlPrixPoseurs = QStringLiteral(
    "SELECT t2.IdTarif AS Cle, t1.IdPoseur AS Poseur, t1.Prix FROM Tarif t1, Tarif t2"
    " WHERE t2.IdTarif IN (:IdTarifs)"
    " AND t1.IdPose = t2.IdPose"
    " AND t1.IdCategorie = t2.IdCategorie"
    " AND t1.IdPoseur IN (:IdPoseurs)"
    " ORDER BY t2.IdTarif, t1.IdPoseur, t1.IdTarif DESC");

// Installers in one statement with a slice of tariffs: both lists stay within what the engine binds at once.
constexpr int kPoseursParInstruction = Requete::kTailleListeMax / 2;

} // namespace

QHash<QString, double> PrixGeneraux(const QStringList& idTarifs)
{
    const QHash<qint64, QStringList> cles = ClesParEntier(idTarifs);
    QHash<QString, double> prix;
    Requete requete(DMPose().Quarlo());
    LireParTranches(requete, kSqlPrixGeneraux, QStringLiteral("IdTarifs"), cles.keys(), [&](const Ligne& ligne) {
        for (const QString& cle : cles.value(ligne.Entier(QStringLiteral("Cle"))))
            if (!prix.contains(cle))
                prix.insert(cle, ligne.Decimal(QStringLiteral("Prix")));
    });
    return prix;
}

QHash<LignePoseur, double> PrixPoseurs(const QVector<LignePoseur>& lignes)
{
    QStringList idTarifs;
    QStringList idPoseurs;
    for (const LignePoseur& ligne : lignes) {
        idTarifs << ligne.idTarif;
        idPoseurs << ligne.idPoseur;
    }
    const QHash<qint64, QStringList> tarifs = ClesParEntier(idTarifs);
    const QHash<qint64, QStringList> poseurs = ClesParEntier(idPoseurs);
    // The first row of each pair of integers.
    QHash<QPair<qint64, qint64>, double> trouves;
    Requete requete(DMPose().Quarlo());
    const QList<qint64> entiersPoseurs = poseurs.keys();
    for (qsizetype debut = 0; debut < entiersPoseurs.size(); debut += kPoseursParInstruction) {
        QStringList tranche;
        for (const qint64 poseur : entiersPoseurs.mid(debut, kPoseursParInstruction))
            tranche << QString::number(poseur);
        LireParTranches(
            requete, kSqlPrixPoseurs, QStringLiteral("IdTarifs"), tarifs.keys(),
            [&](const Ligne& ligne) {
                const QPair<qint64, qint64> paire{ligne.Entier(QStringLiteral("Cle")), ligne.Entier(QStringLiteral("Poseur"))};
                if (!trouves.contains(paire))
                    trouves.insert(paire, ligne.Decimal(QStringLiteral("Prix")));
            },
            [&] { requete.LierListe(QStringLiteral("IdPoseurs"), tranche); }, Requete::kTailleListeMax - kPoseursParInstruction);
    }
    QHash<LignePoseur, double> prix;
    for (const LignePoseur& ligne : lignes) {
        const std::optional<qint64> tarif = CleEnEntier(ligne.idTarif);
        const std::optional<qint64> poseur = CleEnEntier(ligne.idPoseur);
        if (!tarif || !poseur)
            continue;
        const auto trouve = trouves.constFind({*tarif, *poseur});
        if (trouve != trouves.constEnd())
            prix.insert(ligne, *trouve);
    }
    return prix;
}

} // namespace Tarifs
