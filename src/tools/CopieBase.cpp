#include "tools/CopieBase.h"

#include "data/DMPose.h"
#include "data/Schema.h"
#include "engine/Base.h"

#include <QFileInfo>
#include <QTextStream>

#include <cmath>
#include <stdexcept>

namespace {

// The rows a new database holds before anyone works in it.
const QHash<QString, int> kLignesInitiales = {{QStringLiteral("operande"), 5}, {QStringLiteral("trelvanelibelle"), 13}};
// Parameters of one INSERT of several rows: within what the file binds at once.
constexpr int kParametresParInsertion = 900;

std::runtime_error Refus(const QString& texte)
{
    return std::runtime_error(texte.toStdString());
}

bool EstServeur(const QString& argument)
{
    return EstChaineConnexion(argument);
}

// A table of the program, as this copy moves it: the columns both databases have.
struct TableCopiee
{
    const Table* schema = nullptr;
    QVector<Colonne> colonnes;
    QString ordre; // ORDER BY of its rows: its key
};

QString ListeColonnes(const TableCopiee& table)
{
    QStringList noms;
    for (const Colonne& colonne : table.colonnes)
        noms << colonne.nom;
    return noms.join(QStringLiteral(", "));
}

// A value of the source as the destination's column takes it: a file keeps
// any value in any column, a server one kind per column.
QVariant Convertir(const QVariant& valeur, const Colonne& colonne, const QString& table)
{
    if (!valeur.isValid())
        return QVariant();
    const QString texte = valeur.toString();
    switch (colonne.genre) {
    case GenreColonne::CleAuto:
    case GenreColonne::Entier: {
        if (valeur.typeId() == QMetaType::LongLong)
            return valeur;
        if (const std::optional<qint64> entier = CleEnEntier(texte))
            return *entier;
        break;
    }
    case GenreColonne::Decimal: {
        if (valeur.typeId() == QMetaType::Double || valeur.typeId() == QMetaType::LongLong)
            return valeur.toDouble();
        bool ok = false;
        const double decimal = texte.trimmed().toDouble(&ok);
        if (ok)
            return decimal;
        break;
    }
    case GenreColonne::Texte:
        if (valeur.typeId() == QMetaType::Double) {
            // As the file writes a decimal it holds in a text column.
            return QString::number(valeur.toDouble(), 'g', 17);
        }
        return texte;
    }
    // An empty text in a number column reads as nothing, as it does everywhere.
    if (texte.isEmpty())
        return QVariant();
    throw Refus(QStringLiteral("La table %1 contient dans sa colonne %2 la valeur « %3 », qui n'est pas un nombre : "
                               "corrigez-la dans la base source avant de la copier.")
                    .arg(table, colonne.nom, texte.left(100)));
}

// A value in words that compare across both back ends.
QString Empreinte(const QVariant& valeur, const Colonne& colonne)
{
    if (!valeur.isValid())
        return QStringLiteral("<nul>");
    switch (colonne.genre) {
    case GenreColonne::CleAuto:
    case GenreColonne::Entier: return QString::number(valeur.toLongLong());
    case GenreColonne::Decimal: return QString::number(valeur.toDouble(), 'g', 17);
    case GenreColonne::Texte: return valeur.toString();
    }
    return QString();
}

QVector<QVariantList> LireLignes(Connexion& base, const TableCopiee& table)
{
    Requete requete(base);
    requete.SetSql(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(ListeColonnes(table), table.schema->nom, table.ordre));
    QVector<QVariantList> lignes;
    for (const Ligne& ligne : requete.Ouvrir()) {
        QVariantList valeurs;
        for (int i = 0; i < ligne.NombreColonnes(); ++i)
            valeurs << ligne.ValeurIndice(i);
        lignes << valeurs;
    }
    return lignes;
}

int Compter(Connexion& base, const QString& table)
{
    Requete requete(base);
    requete.SetSql(QStringLiteral("SELECT COUNT(*) AS Nombre FROM %1").arg(table));
    return int(requete.Ouvrir().Premiere().Entier(QStringLiteral("Nombre")));
}

class Copie
{
public:
    Copie(const QString& source, const QString& destination, QStringList& compte)
        : argumentSource(source), argumentDestination(destination), compte(compte)
    {
    }

    bool Executer()
    {
        OuvrirSource();
        PreparerTables();
        OuvrirDestination();
        VerifierDestinationVide();
        Transaction transaction(Destination());
        for (const TableCopiee& table : tables)
            CopierTable(table);
        transaction.Valider();
        compte << QStringLiteral("Copie enregistrée dans la destination %1.").arg(Destination().Designation());
        return Verifier();
    }

private:
    const QString argumentSource;
    const QString argumentDestination;
    QStringList& compte;
    Connexion source;
    TDMPose destination;
    QVector<TableCopiee> tables;

    Connexion& Destination() { return destination.Quarlo(); }

    void OuvrirSource()
    {
        // The source is only read: a missing file is not made.
        if (EstServeur(argumentSource)) {
            source.OuvrirServeur(argumentSource);
        } else {
            if (!QFileInfo(argumentSource).isFile())
                throw Refus(QStringLiteral("La base source %1 n'existe pas.").arg(argumentSource));
            source.Ouvrir(argumentSource, kMotDePasseBase);
        }
        compte << QStringLiteral("Source : %1.").arg(source.Designation());
    }

    // The program's tables the source holds; one the program does not know
    // would be lost, and stops the copy before anything is written.
    void PreparerTables()
    {
        QStringList connues;
        for (const Table& table : SchemaQuarlo())
            connues << table.nom.toLower();
        for (const QString& nom : source.Tables())
            if (!connues.contains(nom.toLower()))
                throw Refus(QStringLiteral("La base source contient la table %1, que le programme ne connaît pas : la "
                                           "copie la perdrait. Rien n'a été copié.")
                                .arg(nom));
        for (const Table& table : SchemaQuarlo()) {
            if (!source.TableExiste(table.nom))
                continue;
            const QStringList presentes = source.Colonnes(table.nom);
            TableCopiee copiee{&table, {}, {}};
            for (const Colonne& colonne : table.colonnes)
                if (presentes.contains(colonne.nom, Qt::CaseInsensitive))
                    copiee.colonnes << colonne;
            if (copiee.colonnes.isEmpty())
                continue;
            copiee.ordre = table.clePrimaire ? table.clePrimaire->colonnes.join(QStringLiteral(", "))
                                             : copiee.colonnes.first().nom;
            tables << copiee;
        }
    }

    void OuvrirDestination()
    {
        if (EstServeur(argumentDestination))
            destination.SetServeur(argumentDestination);
        else
            destination.SetNomFichier(argumentDestination);
        destination.Ouvrir();
        const QStringList messages = destination.RestructureBase();
        if (!messages.isEmpty())
            throw Refus(messages.join(u'\n'));
        compte << QStringLiteral("Destination : %1%2.")
                      .arg(Destination().Designation(),
                           destination.BaseCreee() ? QStringLiteral(" (créée)") : QString());
    }

    // The copy goes only into a new database: it never mixes two companies'
    // data, nor writes over the source.
    void VerifierDestinationVide()
    {
        for (const Table& table : SchemaQuarlo()) {
            const int lignes = Compter(Destination(), table.nom);
            if (lignes > kLignesInitiales.value(table.nom.toLower()))
                throw Refus(QStringLiteral("La destination %1 contient déjà des données (%2 lignes dans la table %3) : "
                                           "la copie ne se fait que dans une base neuve. Rien n'a été copié.")
                                .arg(Destination().Designation())
                                .arg(lignes)
                                .arg(table.nom));
        }
    }

    void CopierTable(const TableCopiee& table)
    {
        const QVector<QVariantList> lignes = LireLignes(source, table);
        Requete requete(Destination());
        requete.SetSql(QStringLiteral("DELETE FROM %1").arg(table.schema->nom));
        requete.Executer();
        // Several rows per statement: a server is a network away.
        const int parInstruction = std::max(1, kParametresParInsertion / int(table.colonnes.size()));
        for (qsizetype debut = 0; debut < lignes.size(); debut += parInstruction) {
            const int nombre = int(std::min<qsizetype>(parInstruction, lignes.size() - debut));
            requete.SetSql(Insertion(table, nombre));
            int position = 0;
            for (qsizetype i = debut; i < debut + nombre; ++i)
                for (int c = 0; c < table.colonnes.size(); ++c)
                    requete.LierPosition(position++, Convertir(lignes[i][c], table.colonnes[c], table.schema->nom));
            requete.Executer();
        }
        for (const Colonne& colonne : table.colonnes) {
            if (colonne.genre != GenreColonne::CleAuto)
                continue;
            // The keys the source gave (some of them since deleted) are never given again.
            Destination().AjusterCompteur(table.schema->nom, source.CompteurTable(table.schema->nom).toLongLong());
        }
        compte << QStringLiteral("Table %1 : %2 lignes copiées.").arg(table.schema->nom).arg(lignes.size());
    }

    static QString Insertion(const TableCopiee& table, int lignes)
    {
        QStringList valeurs;
        for (int i = 0; i < lignes; ++i) {
            QStringList parametres;
            for (int c = 0; c < table.colonnes.size(); ++c)
                parametres << QStringLiteral(":v%1_%2").arg(i).arg(c);
            valeurs << u'(' + parametres.join(QStringLiteral(", ")) + u')';
        }
        return QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
            .arg(table.schema->nom, ListeColonnes(table), valeurs.join(QStringLiteral(", ")));
    }

    // Both databases read again, row by row and value by value.
    bool Verifier()
    {
        bool identiques = true;
        for (const TableCopiee& table : tables) {
            const QVector<QVariantList> avant = LireLignes(source, table);
            const QVector<QVariantList> apres = LireLignes(Destination(), table);
            if (avant.size() != apres.size()) {
                compte << QStringLiteral("Table %1 : %2 lignes dans la source, %3 dans la destination.")
                              .arg(table.schema->nom)
                              .arg(avant.size())
                              .arg(apres.size());
                identiques = false;
                continue;
            }
            for (qsizetype i = 0; i < avant.size(); ++i) {
                for (int c = 0; c < table.colonnes.size(); ++c) {
                    const Colonne& colonne = table.colonnes[c];
                    const QString attendue = Empreinte(Convertir(avant[i][c], colonne, table.schema->nom), colonne);
                    const QString lue = Empreinte(apres[i][c], colonne);
                    if (attendue != lue) {
                        compte << QStringLiteral("Table %1, ligne %2, colonne %3 : « %4 » dans la source, « %5 » "
                                                 "dans la destination.")
                                      .arg(table.schema->nom)
                                      .arg(i + 1)
                                      .arg(colonne.nom, attendue.left(100), lue.left(100));
                        identiques = false;
                    }
                }
            }
        }
        compte << (identiques ? QStringLiteral("Vérification : la destination est identique à la source.")
                              : QStringLiteral("Vérification : la destination diffère de la source."));
        return identiques;
    }
};

} // namespace

namespace CopieBase {

Compte Copier(const QString& source, const QString& destination)
{
    Compte resultat;
    try {
        resultat.reussie = Copie(source, destination, resultat.lignes).Executer();
    } catch (const std::exception& erreur) {
        resultat.lignes << QString::fromUtf8(erreur.what());
        resultat.reussie = false;
    }
    if (!resultat.reussie)
        resultat.lignes << QStringLiteral("La copie n'est pas complète : ne vous servez pas de la destination.");
    return resultat;
}

Compte AccorderDroits(const QString& connexion, const QString& administration, const QString& chiffrage)
{
    Compte resultat;
    try {
        if (!EstServeur(connexion))
            throw Refus(QStringLiteral("Les droits se donnent sur une base d'un serveur PostgreSQL : « %1 » n'en "
                                       "désigne pas (le fichier Quarlo.abs s'ouvre avec son mot de passe seul).")
                            .arg(connexion));
        if (administration == chiffrage)
            throw Refus(QStringLiteral("Le rôle des postes de chiffrage doit être un autre que celui des "
                                       "administrateurs (« %1 »).")
                            .arg(administration));
        TDMPose dm;
        dm.SetServeur(connexion);
        dm.Ouvrir();
        const QStringList messages = dm.RestructureBase();
        if (!messages.isEmpty())
            throw Refus(messages.join(u'\n'));
        Requete requete(dm.Quarlo());
        for (const QString& role : {administration, chiffrage}) {
            requete.SetSql(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = :Role"));
            requete.LierTexte(QStringLiteral("Role"), role);
            if (requete.Ouvrir().EstVide())
                throw Refus(QStringLiteral("Le rôle « %1 » n'existe pas sur le serveur : créez-le d'abord "
                                           "(createuser --pwprompt %1), puis relancez cette commande.")
                                .arg(role));
        }
        requete.SetSql(QStringLiteral("SELECT quote_ident(current_schema()) AS Schema, pg_get_serial_sequence("
                                      "quote_ident(current_schema()) || '.poseur', 'idposeur') AS Sequence"));
        const Ligne noms = requete.Ouvrir().Premiere();
        const auto identifiant = [](QString nom) { return u'"' + nom.replace(u'"', QStringLiteral("\"\"")) + u'"'; };
        const QString schema = noms.Texte(QStringLiteral("Schema"));
        const QString admin = identifiant(administration);
        const QString poste = identifiant(chiffrage);
        // One statement: the rights change together or not at all.
        dm.Quarlo().ExecuterScript(
            QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2, %3;"
                           "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %1 TO %2;"
                           "GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA %1 TO %2;"
                           "REVOKE ALL ON ALL TABLES IN SCHEMA %1 FROM %3;"
                           "REVOKE ALL ON ALL SEQUENCES IN SCHEMA %1 FROM %3;"
                           "GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %3;"
                           "GRANT INSERT, UPDATE ON %1.poseur TO %3;"
                           "GRANT USAGE ON SEQUENCE %4 TO %3")
                .arg(schema, admin, poste, noms.Texte(QStringLiteral("Sequence"))));
        resultat.lignes << QStringLiteral("Droits donnés sur la base %1 :").arg(dm.Designation())
                        << QStringLiteral("- « %1 », les administrateurs : lecture et écriture de toutes les "
                                          "données de référence ;")
                               .arg(administration)
                        << QStringLiteral("- « %1 », les postes de chiffrage : lecture de toutes les données, "
                                          "écriture des seuls poseurs de la configuration de l'hôte.")
                               .arg(chiffrage);
        resultat.reussie = true;
    } catch (const std::exception& erreur) {
        resultat.lignes << QString::fromUtf8(erreur.what())
                        << QStringLiteral("Les droits n'ont pas été changés.");
    }
    return resultat;
}

int Executer(const QStringList& arguments)
{
    QTextStream sortie(stdout);
    QTextStream erreurs(stderr);
    const bool droits = arguments.size() == 4 && arguments[0] == u"--droits";
    if (arguments.size() != 2 && !droits) {
        erreurs << "Usage : QuarloCopieBase <source> <destination>\n"
                   "Copie toutes les tables d'une base Quarlo dans une base neuve, clés comprises, puis vérifie la copie.\n"
                   "Un argument de la forme clé=valeur (\"host=serveur dbname=quarlo\") ou postgresql://... désigne une\n"
                   "base d'un serveur PostgreSQL ; tout autre argument, un fichier Quarlo.abs.\n"
                   "\n"
                   "Usage : QuarloCopieBase --droits <base du serveur> <rôle des administrateurs> <rôle des postes>\n"
                   "Donne aux administrateurs la lecture et l'écriture de toutes les tables, aux postes de chiffrage\n"
                   "la lecture de toutes les tables et l'écriture des seuls poseurs. À lancer par le propriétaire des\n"
                   "tables, après la copie et après chaque mise à jour du programme.\n";
        return 2;
    }
    const Compte compte = droits ? AccorderDroits(arguments[1], arguments[2], arguments[3])
                                 : Copier(arguments[0], arguments[1]);
    QTextStream& flux = compte.reussie ? sortie : erreurs;
    for (const QString& ligne : compte.lignes)
        flux << ligne << '\n';
    return compte.reussie ? 0 : 1;
}

} // namespace CopieBase
