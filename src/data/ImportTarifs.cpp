#include "data/ImportTarifs.h"

#include "data/AccesDonnees.h"
#include "data/Categories.h"
#include "data/DMPose.h"
#include "data/Poses.h"
#include "data/Poseurs.h"
#include "data/Tarifs.h"
#include "model/Formats.h"

#include <QHash>
#include <QSet>
#include <stdexcept>
#include <optional>

namespace {

// Fields of a line (the order of the export).
enum Champ {
    kIdPose = 0,
    kPose = 1,
    kIdPoseur = 2,
    kPoseur = 3,
    kIdCategorie = 6,
    kCategorieLibelle = 8,
    kPrix = 9,
};

// The record a line names, or why none.
struct Trouve
{
    QString cle;
    QString raison; // "" when found
};

// Records of one table, found by key or by the name shown for them.
class Repertoire
{
public:
    Repertoire(const QString& nomTable, bool feminin)
        : nomTable(nomTable)
        , accord(feminin ? QStringLiteral("e") : QString())
        , determinant(feminin ? QStringLiteral("la") : QStringLiteral("le"))
    {
    }

    void Ajouter(const QString& cle, const QString& nom)
    {
        noms.insert(cle, nom);
        parNom[nom].append(cle);
    }

    Trouve Trouver(const QString& cle, const QString& nom) const
    {
        if (!cle.isEmpty()) {
            // A spreadsheet may have rewritten 7 as 07.
            const std::optional<int> entier = LireEntier(cle);
            const QString normalisee = entier ? QString::number(*entier) : cle;
            const auto trouve = noms.constFind(normalisee);
            if (trouve == noms.constEnd())
                return {{}, QStringLiteral("%1 inconnu%2 (clé %3)").arg(nomTable, accord, cle)};
            // A file from another database names other records by the same keys.
            if (!nom.trimmed().isEmpty() && nom.trimmed() != trouve->trimmed())
                return {{}, QStringLiteral("la clé %1 désigne %2 %3 « %4 », pas « %5 »")
                                .arg(cle, determinant, nomTable, *trouve, nom)};
            return {normalisee, {}};
        }
        if (nom.isEmpty())
            return {{}, QStringLiteral("%1 absent%2").arg(nomTable, accord)};
        const QStringList trouvees = parNom.value(nom);
        if (trouvees.isEmpty())
            return {{}, QStringLiteral("%1 inconnu%2 « %3 »").arg(nomTable, accord, nom)};
        if (trouvees.size() > 1)
            return {{}, QStringLiteral("plusieurs %1s s'appellent « %2 »").arg(nomTable, nom)};
        return {trouvees.first(), {}};
    }

    // The name of a record found.
    QString Nom(const QString& cle) const { return noms.value(cle); }

private:
    QString nomTable;
    QString accord; // the ending of a feminine adjective
    QString determinant;
    QHash<QString, QString> noms; // by key
    QHash<QString, QStringList> parNom;
};

struct TarifStocke
{
    QString cle;
    std::optional<double> prix;
};

QString CleTarif(const QString& idPose, const QString& idPoseur, const QString& idCategorie)
{
    return idPose + QLatin1Char('|') + idPoseur + QLatin1Char('|') + idCategorie;
}

// Every tariff, by key.
QVector<Tarifs::TarifActuel> TousLesTarifs()
{
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdTarif, IdPose, IdPoseur, IdCategorie, Prix FROM Tarif ORDER BY IdTarif"));
    const QString prix = QStringLiteral("Prix");
    QVector<Tarifs::TarifActuel> tarifs;
    tarifs.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes)
        tarifs.append({ligne.Texte(QStringLiteral("IdTarif")), ligne.Texte(QStringLiteral("IdPose")),
                       ligne.Texte(QStringLiteral("IdPoseur")), ligne.Texte(QStringLiteral("IdCategorie")),
                       ligne.EstNul(prix) ? std::nullopt : std::optional(ligne.Decimal(prix))});
    return tarifs;
}

// What the database holds, read once for the whole file.
struct Reference
{
    Repertoire poses{QStringLiteral("pose"), true};
    Repertoire poseurs{QStringLiteral("poseur"), false};
    Repertoire categories{QStringLiteral("catégorie"), true};
    QHash<QString, TarifStocke> tarifs; // the last of each kind, installer and category

    Reference()
    {
        for (const Entree& pose : Poses::Libelles())
            poses.Ajouter(pose.cle, pose.libelle);
        poseurs.Ajouter(Tarifs::kPoseurGeneral, Tarifs::kNomPoseurGeneral);
        for (const Poseurs::Poseur& poseur : Poseurs::Lister())
            poseurs.Ajouter(poseur.cle, poseur.nom);
        for (const Categories::CategorieTypee& categorie : Categories::AvecType())
            categories.Ajouter(categorie.cle, categorie.Nom());

        for (const Tarifs::TarifActuel& tarif : TousLesTarifs())
            tarifs.insert(CleTarif(tarif.idPose, tarif.idPoseur, tarif.idCategorie), {tarif.cle, tarif.prix});
    }
};

// One write that the file asks for.
struct Ecriture
{
    int ligne; // of the file
    Tarifs::EcritureTarif tarif; // its price read when the file was examined
};

// A price the file gives for a stored one changes it only when it says
// something else: the file shows prices with two decimals, so the export
// of an unchanged grid reads back as unchanged.
bool Change(const std::optional<double>& stocke, const QString& texte, double prix)
{
    return !stocke || (*stocke != prix && FormatMonetaire(*stocke) != texte.trimmed());
}

struct Examen
{
    ImportTarifs::Bilan bilan;
    QVector<Ecriture> ecritures;
    QHash<QString, int> grilles; // kind and installer -> position in bilan.grilles

    // Counts a price the file writes, and says it.
    void Ecrire(const Reference& reference, int ligne, const Tarifs::EcritureTarif& tarif)
    {
        ecritures.append({ligne, tarif});
        ++(tarif.idTarif.isEmpty() ? bilan.crees : bilan.modifies);
        const QString cle = tarif.idPose + QLatin1Char('|') + tarif.idPoseur;
        auto grille = grilles.constFind(cle);
        if (grille == grilles.constEnd()) {
            grille = grilles.insert(cle, int(bilan.grilles.size()));
            bilan.grilles.append({{tarif.idPose, tarif.idPoseur},
                                  reference.poses.Nom(tarif.idPose),
                                  reference.poseurs.Nom(tarif.idPoseur)});
        }
        bilan.changements.append(
            {ligne, *grille, reference.categories.Nom(tarif.idCategorie), tarif.lu, *tarif.prix});
    }
};

// Why the line's price cannot be taken; nothing when it can.
std::optional<QString> DefautPrix(const QString& texte, const std::optional<double>& prix)
{
    if (!prix)
        return QStringLiteral("prix invalide « %1 »").arg(texte);
    if (!MontantAdmissible(*prix))
        return QStringLiteral("prix hors limites « %1 »").arg(texte);
    return std::nullopt;
}

Examen Examiner(const QVector<LigneLue>& lignes)
{
    const Reference reference;
    Examen examen;
    QHash<QString, int> vues; // tariff -> line of the file that gave it
    for (const LigneLue& ligne : lignes) {
        if (ligne.EstVide() || ligne.Champ(kIdPose) == QLatin1String("IdPose"))
            continue;
        const auto rejeter = [&](const QString& raison) { examen.bilan.rejets.append({ligne.numero, raison}); };
        if (const std::optional<QString> defaut = ligne.Defaut(ImportTarifs::kNombreChamps)) {
            rejeter(*defaut);
            continue;
        }

        const Trouve pose = reference.poses.Trouver(ligne.Champ(kIdPose), ligne.Champ(kPose));
        const Trouve poseur = reference.poseurs.Trouver(ligne.Champ(kIdPoseur), ligne.Champ(kPoseur));
        const Trouve categorie = reference.categories.Trouver(ligne.Champ(kIdCategorie), ligne.Champ(kCategorieLibelle));
        const QString raison = !pose.raison.isEmpty() ? pose.raison
                               : !poseur.raison.isEmpty() ? poseur.raison
                                                          : categorie.raison;
        if (!raison.isEmpty()) {
            rejeter(raison);
            continue;
        }

        const QString texte = ligne.Champ(kPrix);
        if (texte.trimmed().isEmpty())
            continue;
        const std::optional<double> prix = LireDecimalTableur(texte);
        if (const std::optional<QString> defaut = DefautPrix(texte, prix)) {
            rejeter(*defaut);
            continue;
        }

        const QString& idPose = pose.cle;
        const QString& idPoseur = poseur.cle;
        const QString& idCategorie = categorie.cle;
        const QString cle = CleTarif(idPose, idPoseur, idCategorie);
        if (const auto vue = vues.constFind(cle); vue != vues.constEnd()) {
            rejeter(QStringLiteral("même tarif qu'à la ligne %1").arg(*vue));
            continue;
        }
        vues.insert(cle, ligne.numero);

        const auto stocke = reference.tarifs.constFind(cle);
        if (stocke == reference.tarifs.constEnd())
            examen.Ecrire(reference, ligne.numero, {QString(), std::nullopt, idPose, idPoseur, idCategorie, *prix});
        else if (Change(stocke->prix, texte, *prix))
            examen.Ecrire(reference, ligne.numero, {stocke->cle, stocke->prix, idPose, idPoseur, idCategorie, *prix});
    }
    return examen;
}

ImportTarifs::Bilan Importer(const QVector<LigneLue>& lignes,
                             const std::function<bool(const ImportTarifs::Bilan&)>& confirmer)
{
    const Examen examen = Examiner(lignes);
    if (examen.bilan.RienAEcrire() || !confirmer(examen.bilan))
        return examen.bilan;

    // What was examined is written, each tariff only over the price the
    // examination saw: one that changed since keeps its new price.
    ImportTarifs::Bilan fait{0, 0, examen.bilan.rejets, true, {}, examen.bilan.grilles, {}};
    QVector<Tarifs::EcritureTarif> ecritures;
    for (const Ecriture& ecriture : examen.ecritures)
        ecritures.append(ecriture.tarif);
    Transaction transaction(DMPose().Quarlo());
    const QVector<int> nonFaites = Tarifs::EcrireTarifs(ecritures, TousLesTarifs());
    const QSet<int> laisses(nonFaites.cbegin(), nonFaites.cend());
    for (int i = 0; i < examen.ecritures.size(); ++i) {
        if (laisses.contains(i)) {
            fait.laisses.append({examen.ecritures[i].ligne, QStringLiteral("tarif changé par un autre utilisateur "
                                                                           "depuis l'examen du fichier, laissé tel quel")});
            continue;
        }
        ++(ecritures[i].idTarif.isEmpty() ? fait.crees : fait.modifies);
        fait.changements.append(examen.bilan.changements[i]);
    }
    transaction.Valider();
    return fait;
}

} // namespace

namespace ImportTarifs {

Bilan Examiner(const QVector<LigneLue>& lignes)
{
    return ::Examiner(lignes).bilan;
}

Bilan Importer(const QVector<LigneLue>& lignes, const std::function<bool(const Bilan&)>& confirmer)
{
    try {
        return ::Importer(lignes, confirmer);
    } catch (const ErreurBase& erreur) {
        throw std::runtime_error(QStringLiteral("Importation - Une erreur est survenue pendant l'importation des "
                                                "tarifs : aucun tarif n'a été modifié.\n%1")
                                     .arg(erreur.Message())
                                     .toStdString());
    }
}

} // namespace ImportTarifs
