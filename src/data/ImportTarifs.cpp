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
    {
    }

    void Ajouter(const QString& cle, const QString& nom)
    {
        cles.insert(cle);
        parNom[nom].append(cle);
    }

    Trouve Trouver(const QString& cle, const QString& nom) const
    {
        if (!cle.isEmpty()) {
            // A spreadsheet may have rewritten 7 as 07.
            const std::optional<int> entier = LireEntier(cle);
            const QString normalisee = entier ? QString::number(*entier) : cle;
            if (cles.contains(normalisee))
                return {normalisee, {}};
            return {{}, QStringLiteral("%1 inconnu%2 (clé %3)").arg(nomTable, accord, cle)};
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

private:
    QString nomTable;
    QString accord; // the ending of a feminine adjective
    QSet<QString> cles;
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

        const Resultat lignes = LireTout(
            DMPose().qrySelect(),
            QStringLiteral("SELECT IdTarif, IdPose, IdPoseur, IdCategorie, Prix FROM Tarif ORDER BY IdTarif"));
        const QString prix = QStringLiteral("Prix");
        for (const Ligne& ligne : lignes) {
            tarifs.insert(CleTarif(ligne.Texte(QStringLiteral("IdPose")), ligne.Texte(QStringLiteral("IdPoseur")),
                                   ligne.Texte(QStringLiteral("IdCategorie"))),
                          {ligne.Texte(QStringLiteral("IdTarif")),
                           ligne.EstNul(prix) ? std::nullopt : std::optional(ligne.Decimal(prix))});
        }
    }
};

// One write that the file asks for.
struct Ecriture
{
    QString idTarif; // "" for a new tariff
    QString idPose;
    QString idPoseur;
    QString idCategorie;
    double prix;
};

// A price the file gives for a stored one changes it only when it says
// something else: the file shows prices with two decimals, so the export
// of an unchanged grid reads back as unchanged.
bool Change(const std::optional<double>& stocke, const QString& texte, double prix)
{
    return !stocke || (*stocke != prix && FormatMonetaire(*stocke) != texte.trimmed());
}

bool LigneVide(const QStringList& champs)
{
    for (const QString& champ : champs) {
        if (!champ.isEmpty())
            return false;
    }
    return true;
}

struct Examen
{
    ImportTarifs::Bilan bilan;
    QVector<Ecriture> ecritures;
};

Examen Examiner(const QVector<QStringList>& lignes)
{
    const Reference reference;
    Examen examen;
    QHash<QString, int> vues; // tariff -> line of the file that gave it
    for (int i = 0; i < lignes.size(); ++i) {
        const QStringList& champs = lignes[i];
        const int numero = i + 1;
        if (champs[kIdPose] == QLatin1String("IdPose") || LigneVide(champs))
            continue;
        const auto rejeter = [&](const QString& raison) { examen.bilan.rejets.append({numero, raison}); };

        const Trouve pose = reference.poses.Trouver(champs[kIdPose], champs[kPose]);
        const Trouve poseur = reference.poseurs.Trouver(champs[kIdPoseur], champs[kPoseur]);
        const Trouve categorie = reference.categories.Trouver(champs[kIdCategorie], champs[kCategorieLibelle]);
        const QString raison = !pose.raison.isEmpty() ? pose.raison
                               : !poseur.raison.isEmpty() ? poseur.raison
                                                          : categorie.raison;
        if (!raison.isEmpty()) {
            rejeter(raison);
            continue;
        }

        const QString& texte = champs[kPrix];
        if (texte.trimmed().isEmpty())
            continue;
        const std::optional<double> prix = LireDecimal(texte);
        if (!prix) {
            rejeter(QStringLiteral("prix invalide « %1 »").arg(texte));
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
        vues.insert(cle, numero);

        const auto stocke = reference.tarifs.constFind(cle);
        if (stocke == reference.tarifs.constEnd()) {
            examen.ecritures.append({QString(), idPose, idPoseur, idCategorie, *prix});
            ++examen.bilan.crees;
        } else if (Change(stocke->prix, texte, *prix)) {
            examen.ecritures.append({stocke->cle, idPose, idPoseur, idCategorie, *prix});
            ++examen.bilan.modifies;
        }
    }
    return examen;
}

} // namespace

namespace ImportTarifs {

Bilan Examiner(const QVector<QStringList>& lignes)
{
    return ::Examiner(lignes).bilan;
}

Bilan Importer(const QVector<QStringList>& lignes)
{
    // Read again inside the transaction: what is written matches what the
    // database holds at that moment.
    Transaction transaction(DMPose().Quarlo());
    const Examen examen = ::Examiner(lignes);
    for (const Ecriture& ecriture : examen.ecritures)
        Tarifs::EcrirePrix({ecriture.idPose, ecriture.idPoseur}, ecriture.idCategorie, ecriture.idTarif,
                           ecriture.prix);
    transaction.Valider();
    return examen.bilan;
}

} // namespace ImportTarifs
