#include "data/DMPose.h"

#include "data/AccesDonnees.h"
#include "data/Schema.h"
#include "engine/Base.h"
#include "model/Ini.h"
#include "model/MargeMini.h"

#include <QDir>
#include <QVector>
#include <algorithm>

const QByteArray kMotDePasseBase = QByteArrayLiteral("#Kelmorad4826");

namespace {

// The data modules alive, the running one last.
QVector<TDMPose*>& Instances()
{
    static QVector<TDMPose*> instances;
    return instances;
}

// The host's joinery families, in the order they are inserted. The names are
// pasted as they are: program constants, with the quote already doubled.
const char* const kLignesTrelvaneLibelle[] = {
    "('10100', 1, 1, 0, 'Menuiseries')",
    "('10101', 1, 1, 1, 'Sans V.R.')",
    "('10102', 1, 1, 2, 'V.R. dans la hauteur')",
    "('10103', 1, 1, 3, 'V.R. compris hauteur')",
    "('10200', 1, 2, 0, 'Volet Battant')",
    "('10300', 1, 3, 0, 'Volet Roulant')",
    "('10400', 1, 4, 0, 'Bloc Porte')",
    "('10500', 1, 5, 0, 'Porte d''entrée')",
    "('10501', 1, 5, 1, 'Imposte')",
    "('10502', 1, 5, 2, 'Latéral')",
    "('10600', 1, 6, 0, 'Porte de Garage')",
    "('10700', 1, 7, 0, 'Grille de défense')",
    "('10800', 1, 8, 0, 'Persienne')",
};

struct Operande
{
    const char* code;
    const char* libelle;
};

const Operande kOperandes[] = {
    {"HAUTEUR", "Hauteur"},
    {"LARGEUR", "Largeur"},
    {"VANTAIL", "Nombre de vantaux"},
    {"PERIMETRE", "Périmètre"},
    {"LARGEUR_VANTAIL", "Largeur par vantail"},
};

const QString kIndexTarif = QStringLiteral("IdxTarifPoseCategoriePoseur");

bool AColonne(Connexion& base, const QString& table, const QString& colonne)
{
    return base.Colonnes(table).contains(colonne, Qt::CaseInsensitive);
}

// Runs a change only when it is needed. The need is checked first without a
// lock (nothing to do at most starts, even on a read-only share), then again
// under the write lock: another copy starting at the same moment may have
// made the change meanwhile.
template <class Besoin, class Travail>
void SiNecessaire(Connexion& base, Besoin besoin, Travail travail)
{
    if (!besoin())
        return;
    Transaction transaction(base);
    if (!besoin())
        return;
    travail();
    transaction.Valider();
}

} // namespace

// The connection and the shared queries on it.
struct TDMPose::Base
{
    Connexion connexion;
    Requete select{connexion};
    Requete sousSelect{connexion};
    Requete comparaison{connexion};
    Requete suppression{connexion};
    Requete exec{connexion};
};

TDMPose::TDMPose() : base(std::make_unique<Base>())
{
    Instances().append(this);
}

TDMPose::~TDMPose()
{
    Fermer();
    Instances().removeAll(this);
}

TDMPose& DMPose()
{
    if (Instances().isEmpty())
        qFatal("DMPose: no data module has been created");
    return *Instances().constLast();
}

void TDMPose::SetNomFichier(const QString& fichier)
{
    nomFichier = fichier;
    serveur.clear();
}

void TDMPose::SetServeur(const QString& chaineConnexion)
{
    serveur = chaineConnexion;
    nomFichier.clear();
}

void TDMPose::ChoisirBase(const QString& dossierProgramme)
{
    const QString connexion =
        TFichierIni(dossierProgramme + kFichierParametresModule).LireTexte(QStringLiteral("Base"), QStringLiteral("Connexion")).trimmed();
    if (connexion.isEmpty())
        SetNomFichier(dossierProgramme + QStringLiteral("Quarlo.abs"));
    else
        SetServeur(connexion);
}

Connexion& TDMPose::Quarlo()
{
    return base->connexion;
}

Requete& TDMPose::qrySelect()
{
    return base->select;
}

Requete& TDMPose::qrySousSelect()
{
    return base->sousSelect;
}

Requete& TDMPose::qryComparaison()
{
    return base->comparaison;
}

Requete& TDMPose::qryDelete()
{
    return base->suppression;
}

Requete& TDMPose::qryExec()
{
    return base->exec;
}

bool TDMPose::EstConnecte() const
{
    return base->connexion.EstConnectee();
}

QString TDMPose::Designation() const
{
    return base->connexion.EstConnectee() ? base->connexion.Designation() : QDir::toNativeSeparators(nomFichier);
}

void TDMPose::Ouvrir()
{
    Connexion& connexion = base->connexion;
    baseCreee = false;
    if (serveur.isEmpty())
        connexion.Ouvrir(nomFichier, kMotDePasseBase);
    else
        connexion.OuvrirServeur(serveur);
    // A database without any table (a missing file, a new server database)
    // receives the whole schema.
    try {
        SiNecessaire(connexion, [&connexion] { return connexion.Tables().isEmpty(); }, [this] { CreerSchema(); });
    } catch (...) {
        connexion.Fermer();
        throw;
    }
}

bool TDMPose::TableVide(const QString& table)
{
    Requete& select = base->select;
    select.SetSql(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table));
    const bool vide = select.Ouvrir().EstVide();
    select.Fermer();
    return vide;
}

void TDMPose::Fermer()
{
    for (Requete* requete : {&base->select, &base->sousSelect, &base->comparaison, &base->suppression, &base->exec})
        requete->Fermer();
    base->connexion.Fermer();
}

void TDMPose::CreerSchema()
{
    Connexion& connexion = base->connexion;
    for (const Table& table : SchemaQuarlo())
        connexion.ExecuterScript(connexion.CreationTable(table));
    QVector<QVariantList> operandes;
    for (const Operande& operande : kOperandes)
        operandes.append({QString::fromUtf8(operande.libelle), QString::fromUtf8(operande.code)});
    InsererParTranches(connexion, QStringLiteral("Operande"), {QStringLiteral("Libelle"), QStringLiteral("Code")},
                       operandes);
    baseCreee = true;
}

QStringList TDMPose::RestructureBase()
{
    QStringList messages;
    CreerTrelvaneLibelle(messages);
    RemplirTrelvaneLibelle(messages);
    AjouterColonnesCategorieType(messages);
    AjouterColonnesPoseur(messages);
    IndexerTarifs(messages);
    return messages;
}

void TDMPose::CreerTrelvaneLibelle(QStringList& messages)
{
    Connexion& connexion = base->connexion;
    try {
        SiNecessaire(
            connexion, [&connexion] { return !connexion.TableExiste(QStringLiteral("TrelvaneLibelle")); },
            [this, &connexion] {
                base->exec.SetSql(connexion.CreationTable(TableTrelvaneLibelle()));
                base->exec.Executer();
            });
    } catch (const ErreurBase& erreur) {
        messages << QStringLiteral("TDMPose::RestructureBase : Erreur sur la création de la table TrelvaneLibelle")
                        + QLatin1Char('\n') + erreur.Message();
    }
}

void TDMPose::RemplirTrelvaneLibelle(QStringList& messages)
{
    Connexion& connexion = base->connexion;
    const auto aRemplir = [this, &connexion] {
        return connexion.TableExiste(QStringLiteral("TrelvaneLibelle")) && TableVide(QStringLiteral("TrelvaneLibelle"));
    };
    // The rows go in one statement. Should it fail, one failing row does
    // not keep the others out: each one is then a group of its own inside
    // the whole (a server gives up a group after a failure).
    const auto inserer = [this, &connexion](const QStringList& lignes) {
        Transaction groupe(connexion);
        base->exec.SetSql(QStringLiteral("INSERT INTO TrelvaneLibelle (Code, Famille, TypeFamille, TypeModele, Nom) values ")
                          + lignes.join(QStringLiteral(", ")) + QStringLiteral(";"));
        base->exec.Executer();
        groupe.Valider();
    };
    const auto remplir = [&inserer, &messages] {
        QStringList lignes;
        for (const char* valeurs : kLignesTrelvaneLibelle)
            lignes << QString::fromUtf8(valeurs);
        try {
            inserer(lignes);
            return;
        } catch (const ErreurBase&) {
        }
        for (const QString& ligne : lignes) {
            try {
                inserer({ligne});
            } catch (const ErreurBase& erreur) {
                messages << QStringLiteral("TDMPose::RestructureBase : Erreur sur l'insertion dans la table TrelvaneLibelle")
                                + QLatin1Char('\n') + erreur.Message();
            }
        }
    };
    try {
        SiNecessaire(connexion, aRemplir, remplir);
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

void TDMPose::AjouterColonnesCategorieType(QStringList& messages)
{
    Connexion& connexion = base->connexion;
    try {
        SiNecessaire(
            connexion, [&connexion] { return !AColonne(connexion, QStringLiteral("CategorieType"), QStringLiteral("TrelvaneLibelle")); },
            [&connexion] {
                connexion.AjouterColonne(QStringLiteral("CategorieType"),
                                         {QStringLiteral("TrelvaneLibelle"), GenreColonne::Texte, 5});
            });
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

void TDMPose::AjouterColonnesPoseur(QStringList& messages)
{
    Connexion& connexion = base->connexion;
    // Siret alone decides; both columns are added together or not at all.
    try {
        SiNecessaire(
            connexion, [&connexion] { return !AColonne(connexion, QStringLiteral("Poseur"), QStringLiteral("Siret")); },
            [&connexion] {
                connexion.AjouterColonne(QStringLiteral("Poseur"), {QStringLiteral("Siret"), GenreColonne::Texte, 14});
                connexion.AjouterColonne(QStringLiteral("Poseur"), {QStringLiteral("RGE"), GenreColonne::Texte, 25});
            });
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

void TDMPose::IndexerTarifs(QStringList& messages)
{
    Connexion& connexion = base->connexion;
    // The pricing lists look the general price of every line up at each
    // repaint: without this index each look-up reads the whole table. A
    // database without the table has nothing to index.
    const auto aIndexer = [&connexion] {
        return connexion.TableExiste(QStringLiteral("Tarif")) && !connexion.IndexExiste(kIndexTarif);
    };
    try {
        SiNecessaire(connexion, aIndexer, [&connexion] {
            connexion.ExecuterScript(QStringLiteral("CREATE INDEX %1 ON Tarif (IdPose, IdCategorie, IdPoseur)").arg(kIndexTarif));
        });
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

bool TDMPose::PeutAdministrer()
{
    return base->connexion.PeutModifier({QStringLiteral("Pose"), QStringLiteral("CategorieType"),
                                         QStringLiteral("Categorie"), QStringLiteral("CategorieContrainte"),
                                         QStringLiteral("Tarif"), QStringLiteral("Quincaillerie"),
                                         QStringLiteral("Poseur")});
}

QString TDMPose::Utilisateur() const
{
    return base->connexion.Utilisateur();
}

QString TDMPose::DernierIdCategorie()
{
    return base->connexion.DernierIdentifiant(QStringLiteral("Categorie"));
}

void TDMPose::AjouterTva(int typeTva, const QString& libelle, double valeur)
{
    tva.append(LigneTva{typeTva, libelle.left(30), valeur});
}

const LigneTva* TDMPose::DerniereTva(int typeTva) const
{
    const auto trouvee = std::find_if(tva.crbegin(), tva.crend(),
                                      [typeTva](const LigneTva& ligne) { return ligne.typeTva == typeTva; });
    return trouvee == tva.crend() ? nullptr : &*trouvee;
}

std::unique_ptr<TTva> TDMPose::GetTva(int typeTva) const
{
    const LigneTva* ligne = DerniereTva(typeTva);
    if (!ligne)
        return nullptr;
    auto resultat = std::make_unique<TTva>();
    resultat->SetTypeTva(ligne->typeTva);
    resultat->SetLibelle(ligne->libelle);
    resultat->SetValeur(ligne->valeur);
    return resultat;
}

double TDMPose::GetTauxTva(int typeTva) const
{
    const LigneTva* ligne = DerniereTva(typeTva);
    return ligne ? ligne->valeur : -1.0;
}
