#include "data/DMPose.h"

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

const QString kCreationTrelvaneLibelle = QStringLiteral(
    "CREATE TABLE TrelvaneLibelle ("
    "Code VARCHAR(5) NOT NULL,"
    "Famille INTEGER NOT NULL,"
    "TypeFamille INTEGER NOT NULL,"
    "TypeModele INTEGER NOT NULL,"
    "Nom VARCHAR(50),"
    "CONSTRAINT \"Primary\" PRIMARY KEY (Code),"
    "CONSTRAINT \"Unique\" UNIQUE (Famille, TypeFamille, TypeModele)"
    ");");

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

const char* const kTablesSchema[] = {
    "CREATE TABLE CategorieType ("
    "IdCategorieType INTEGER PRIMARY KEY AUTOINCREMENT,"
    "Libelle VARCHAR(100),"
    "TrelvaneLibelle VARCHAR(5),"
    "MotsClefs VARCHAR(100))",

    "CREATE TABLE Categorie ("
    "IdCategorie INTEGER PRIMARY KEY AUTOINCREMENT,"
    "Libelle VARCHAR(100),"
    "IdCategorieType INTEGER)",

    "CREATE TABLE Operande ("
    "IdOperande INTEGER PRIMARY KEY AUTOINCREMENT,"
    "Libelle VARCHAR(100),"
    "Code VARCHAR(100))",

    "CREATE TABLE CategorieContrainte ("
    "IdCategorieContrainte INTEGER PRIMARY KEY AUTOINCREMENT,"
    "IdCategorie INTEGER,"
    "IdOperande INTEGER,"
    "Operateur VARCHAR(10),"
    "Valeur VARCHAR(100))",

    "CREATE TABLE Pose ("
    "IdPose INTEGER PRIMARY KEY AUTOINCREMENT,"
    "Libelle VARCHAR(50),"
    "CodeExport VARCHAR(50),"
    "Livraison DOUBLE,"
    "LivraisonCompliquee DOUBLE,"
    "Autorisation DOUBLE,"
    "Manutention DOUBLE,"
    "TypeTva INTEGER,"
    "CodeExportLivraison VARCHAR(50),"
    "CodeExportLivraisonCompliquee VARCHAR(50),"
    "CodeExportAutorisation VARCHAR(50),"
    "CodeExportManutention VARCHAR(50))",

    "CREATE TABLE Poseur ("
    "IdPoseur INTEGER PRIMARY KEY AUTOINCREMENT,"
    "Code VARCHAR(100),"
    "Nom VARCHAR(100),"
    "Rue1 VARCHAR(100),"
    "Rue2 VARCHAR(100),"
    "Cp VARCHAR(100),"
    "Ville VARCHAR(100),"
    "Tel VARCHAR(100),"
    "Fax VARCHAR(100),"
    "Portable VARCHAR(100),"
    "Mail VARCHAR(100),"
    "Contact VARCHAR(100),"
    "Siret VARCHAR(14),"
    "RGE VARCHAR(25))",

    "CREATE TABLE Tarif ("
    "IdTarif INTEGER PRIMARY KEY AUTOINCREMENT,"
    "IdPose INTEGER,"
    "IdCategorie INTEGER,"
    "IdPoseur INTEGER,"
    "Prix DOUBLE)",

    "CREATE TABLE Quincaillerie ("
    "IdQuincaillerie INTEGER PRIMARY KEY AUTOINCREMENT,"
    "CodeExport VARCHAR(100),"
    "Libelle VARCHAR(100),"
    "Libelle2 VARCHAR(100),"
    "TarifVente DOUBLE,"
    "TarifAchat DOUBLE,"
    "NbPieces DOUBLE,"
    "NbPiecesML DOUBLE,"
    "Secable INTEGER)",
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

bool IndexExiste(Connexion& base, const QString& index)
{
    Requete requete(base);
    requete.SetSql(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = :Nom COLLATE NOCASE"));
    requete.LierTexte(QStringLiteral("Nom"), index);
    return !requete.Ouvrir().EstVide();
}

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

TDMPose::TDMPose()
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

void TDMPose::Ouvrir()
{
    base.Ouvrir(nomFichier, kMotDePasseBase);
    // A file without any table (missing until now, or left empty by a first
    // start that failed) receives the whole schema.
    try {
        SiNecessaire(base, [this] { return BaseVide(); }, [this] { CreerSchema(); });
    } catch (...) {
        base.Fermer();
        throw;
    }
}

bool TDMPose::BaseVide()
{
    return TableVide(QStringLiteral("sqlite_master"));
}

bool TDMPose::TableVide(const QString& table)
{
    select.SetSql(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table));
    const bool vide = select.Ouvrir().EstVide();
    select.Fermer();
    return vide;
}

void TDMPose::Fermer()
{
    for (Requete* requete : {&select, &sousSelect, &comparaison, &suppression, &exec})
        requete->Fermer();
    base.Fermer();
}

void TDMPose::CreerSchema()
{
    base.ExecuterScript(kCreationTrelvaneLibelle);
    for (const char* table : kTablesSchema)
        base.ExecuterScript(QString::fromUtf8(table));
    exec.SetSql(QStringLiteral("INSERT INTO Operande (Libelle, Code) VALUES (:Libelle, :Code)"));
    for (const Operande& operande : kOperandes) {
        exec.LierTexte(QStringLiteral("Libelle"), QString::fromUtf8(operande.libelle));
        exec.LierTexte(QStringLiteral("Code"), QString::fromUtf8(operande.code));
        exec.Executer();
    }
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
    try {
        SiNecessaire(
            base, [this] { return !base.TableExiste(QStringLiteral("TrelvaneLibelle")); },
            [this] {
                exec.SetSql(kCreationTrelvaneLibelle);
                exec.Executer();
            });
    } catch (const ErreurBase& erreur) {
        messages << QStringLiteral("TDMPose::RestructureBase : Erreur sur la création de la table TrelvaneLibelle")
                        + QLatin1Char('\n') + erreur.Message();
    }
}

void TDMPose::RemplirTrelvaneLibelle(QStringList& messages)
{
    const auto aRemplir = [this] {
        return base.TableExiste(QStringLiteral("TrelvaneLibelle")) && TableVide(QStringLiteral("TrelvaneLibelle"));
    };
    // One failing row does not keep the others out.
    const auto remplir = [this, &messages] {
        for (const char* valeurs : kLignesTrelvaneLibelle) {
            try {
                exec.SetSql(QStringLiteral("INSERT INTO TrelvaneLibelle (Code, Famille, TypeFamille, TypeModele, Nom) values ")
                            + QString::fromUtf8(valeurs) + QStringLiteral(";"));
                exec.Executer();
            } catch (const ErreurBase& erreur) {
                messages << QStringLiteral("TDMPose::RestructureBase : Erreur sur l'insertion dans la table TrelvaneLibelle")
                                + QLatin1Char('\n') + erreur.Message();
            }
        }
    };
    try {
        SiNecessaire(base, aRemplir, remplir);
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

void TDMPose::AjouterColonnesCategorieType(QStringList& messages)
{
    try {
        SiNecessaire(
            base, [this] { return !AColonne(base, QStringLiteral("CategorieType"), QStringLiteral("TrelvaneLibelle")); },
            [this] { base.AjouterColonne(QStringLiteral("CategorieType"), QStringLiteral("TrelvaneLibelle VARCHAR(5)")); });
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

void TDMPose::AjouterColonnesPoseur(QStringList& messages)
{
    // Siret alone decides; both columns are added together or not at all.
    try {
        SiNecessaire(
            base, [this] { return !AColonne(base, QStringLiteral("Poseur"), QStringLiteral("Siret")); },
            [this] {
                base.AjouterColonne(QStringLiteral("Poseur"), QStringLiteral("Siret VARCHAR(14)"));
                base.AjouterColonne(QStringLiteral("Poseur"), QStringLiteral("RGE VARCHAR(25)"));
            });
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

void TDMPose::IndexerTarifs(QStringList& messages)
{
    // The pricing lists look the general price of every line up at each
    // repaint: without this index each look-up reads the whole table. A file
    // without the table has nothing to index.
    const auto aIndexer = [this] {
        return base.TableExiste(QStringLiteral("Tarif")) && !IndexExiste(base, kIndexTarif);
    };
    try {
        SiNecessaire(base, aIndexer, [this] {
            base.ExecuterScript(QStringLiteral("CREATE INDEX %1 ON Tarif (IdPose, IdCategorie, IdPoseur)").arg(kIndexTarif));
        });
    } catch (const ErreurBase& erreur) {
        messages << erreur.Message();
    }
}

QString TDMPose::DernierIdCategorie()
{
    return base.DernierIdentifiant(QStringLiteral("Categorie"));
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
