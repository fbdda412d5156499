#include "data/CatalogueQuincaillerie.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "data/ValeursLues.h"
#include "model/Formats.h"

#include <QHash>
#include <stdexcept>
#include <utility>

namespace {

const QString kCodeExport = QStringLiteral("CodeExport");
const QString kLibelle = QStringLiteral("Libelle");
const QString kLibelle2 = QStringLiteral("Libelle2");
const QString kTarifVente = QStringLiteral("TarifVente");
const QString kTarifAchat = QStringLiteral("TarifAchat");
const QString kNbPieces = QStringLiteral("NbPieces");
const QString kNbPiecesML = QStringLiteral("NbPiecesML");
const QString kSecable = QStringLiteral("Secable");

using CatalogueQuincaillerie::Article;

Article ArticleDe(const Ligne& ligne)
{
    return {ligne.Texte(kCodeExport),       ligne.Texte(kLibelle),         ligne.Texte(kLibelle2),
            ligne.Decimal(kTarifVente),     ligne.Decimal(kTarifAchat),    ligne.Decimal(kNbPieces),
            ligne.Decimal(kNbPiecesML),     ligne.Entier(kSecable) == 1};
}

void Lier(Requete& requete, const Article& article)
{
    requete.LierTexte(kCodeExport, article.codeExport);
    requete.LierTexte(kLibelle, article.libelle);
    requete.LierTexte(kLibelle2, article.libelle2);
    requete.LierDecimal(kTarifVente, article.tarifVente);
    requete.LierDecimal(kTarifAchat, article.tarifAchat);
    requete.LierDecimal(kNbPieces, article.nbPieces);
    requete.LierDecimal(kNbPiecesML, article.nbPiecesML);
    requete.LierEntier(kSecable, article.secable ? 1 : 0);
}

// The entry as it was read, as the condition of the statement that writes
// over it or deletes it.
const ValeursLues& ValeursDe(const Article& article, ValeursLues& valeurs)
{
    return valeurs.Texte(kCodeExport, article.codeExport)
        .Texte(kLibelle, article.libelle)
        .Texte(kLibelle2, article.libelle2)
        .Decimal(kTarifVente, article.tarifVente)
        .Decimal(kTarifAchat, article.tarifAchat)
        .Decimal(kNbPieces, article.nbPieces)
        .Decimal(kNbPiecesML, article.nbPiecesML)
        .Drapeau(kSecable, article.secable);
}

// The numbers of a line, by field, with the name its reasons give them.
struct ChampNombre
{
    int champ;
    double Article::*valeur;
    const char* nom;
};
constexpr ChampNombre kNombres[] = {
    {3, &Article::tarifVente, "tarif de vente"},
    {4, &Article::tarifAchat, "tarif d'achat"},
    {5, &Article::nbPieces, "nombre de pièces"},
    {6, &Article::nbPiecesML, "nombre de pièces ML"},
};

// The text as its column holds it; counts it when it was cut.
QString Couper(const QString& texte, int& coupes)
{
    const QString garde = CouperTexte(texte, CatalogueQuincaillerie::kLongueurTexte);
    if (garde.size() < texte.size())
        ++coupes;
    return garde;
}

// The entry a line gives, or why it gives none.
std::optional<QString> LireArticle(const LigneLue& ligne, Article& article, int& coupes)
{
    for (const ChampNombre& nombre : kNombres) {
        const QString texte = ligne.Champ(nombre.champ);
        if (texte.trimmed().isEmpty())
            continue;
        const std::optional<double> valeur = LireDecimalTableur(texte);
        if (!valeur)
            return QStringLiteral("%1 illisible « %2 »").arg(QString::fromUtf8(nombre.nom), texte);
        if (!MontantAdmissible(*valeur))
            return QStringLiteral("%1 hors limites « %2 »").arg(QString::fromUtf8(nombre.nom), texte);
        article.*nombre.valeur = *valeur;
    }
    // What the export writes, "O" or "N"; an empty field, as an empty number, is the default.
    const QString secable = ligne.Champ(7).trimmed().toUpper();
    if (secable != u"O" && secable != u"N" && !secable.isEmpty())
        return QStringLiteral("sécable illisible « %1 » (O ou N attendu)").arg(ligne.Champ(7));
    article.secable = secable == u"O";
    article.codeExport = Couper(ligne.Champ(0), coupes);
    article.libelle = Couper(ligne.Champ(1), coupes);
    article.libelle2 = Couper(ligne.Champ(2), coupes);
    return std::nullopt;
}

// The entry's fields as the export writes them.
QStringList ChampsExportes(const Article& article)
{
    return {article.codeExport,
            article.libelle,
            article.libelle2,
            FormatMonetaire(article.tarifVente),
            FormatMonetaire(article.tarifAchat),
            FormatMonetaire(article.nbPieces),
            FormatMonetaire(article.nbPiecesML),
            article.secable ? QStringLiteral("O") : QStringLiteral("N")};
}

// Texts as one key of a hash: each after its length, so that no two lists give the same key.
QString Cle(std::initializer_list<QStringView> textes)
{
    QString cle;
    for (const QStringView texte : textes) {
        cle += QString::number(texte.size());
        cle += QLatin1Char(':');
        cle += texte;
    }
    return cle;
}

// An entry set against the others: the entry, and what the export writes
// of it as one text (equal for two entries the export writes alike; empty
// for a line set aside, which names a product but gives no entry).
struct Produit
{
    const Article* article;
    QString empreinte;
};

QString Empreinte(const Article& article, const FormeNombres& forme)
{
    QString empreinte = Cle({article.codeExport, article.libelle, article.libelle2});
    for (const double nombre : {article.tarifVente, article.tarifAchat, article.nbPieces, article.nbPiecesML}) {
        forme.AjouterMonetaire(empreinte, nombre);
        empreinte += QLatin1Char(';');
    }
    return empreinte + (article.secable ? QLatin1Char('O') : QLatin1Char('N'));
}

QString CleIdentique(const Produit& produit)
{
    return produit.empreinte;
}
QString CleCodeEtLibelles(const Produit& produit)
{
    const Article& article = *produit.article;
    return article.codeExport.isEmpty() ? QString() : Cle({article.codeExport, article.libelle, article.libelle2});
}
QString CleCode(const Produit& produit)
{
    return produit.article->codeExport.isEmpty() ? QString() : Cle({produit.article->codeExport});
}
QString CleLibelles(const Produit& produit)
{
    return Cle({produit.article->libelle, produit.article->libelle2});
}
QString CleLibellesSansCode(const Produit& produit)
{
    return produit.article->codeExport.isEmpty() ? CleLibelles(produit) : QString();
}

// One way of finding the stored product an entry of the file stands for:
// the key of each side, "" when that way does not apply to it.
struct Rapprochement
{
    QString (*cleFichier)(const Produit&);
    QString (*cleStockee)(const Produit&);
};

// From the closest to the loosest: the same entry (an export read back
// changes nothing, even among entries that share a code), the same code
// and labels, the same code, the same labels without code, then the same
// labels where one side only has a code (a code given or cleared in the
// file). Two different codes are two products.
constexpr Rapprochement kRapprochements[] = {
    {CleIdentique, CleIdentique},
    {CleCodeEtLibelles, CleCodeEtLibelles},
    {CleCode, CleCode},
    {CleLibellesSansCode, CleLibellesSansCode},
    {CleLibelles, CleLibellesSansCode},
    {CleLibellesSansCode, CleLibelles},
};

// The stored product (its position in `stockes`) each one of the file
// stands for, -1 for none, among those not yet `pris` (which it then
// takes): each way in turn, and for each way the file's products in their
// order take the stored ones of the same key by key.
QVector<qsizetype> Rapprocher(const QVector<Produit>& fichier, const QVector<Produit>& stockes, QVector<bool>& pris)
{
    QVector<qsizetype> trouves(fichier.size(), -1);
    for (const Rapprochement& rapprochement : kRapprochements) {
        QHash<QString, QVector<qsizetype>> libres; // by key, the lowest last
        for (qsizetype i = stockes.size() - 1; i >= 0; --i) {
            if (pris[i])
                continue;
            const QString cle = rapprochement.cleStockee(stockes[i]);
            if (!cle.isEmpty())
                libres[cle].append(i);
        }
        if (libres.isEmpty())
            continue;
        for (qsizetype j = 0; j < fichier.size(); ++j) {
            if (trouves[j] >= 0)
                continue;
            const auto libre = libres.find(rapprochement.cleFichier(fichier[j]));
            if (libre == libres.end() || libre->isEmpty())
                continue;
            trouves[j] = libre->takeLast();
            pris[trouves[j]] = true;
        }
    }
    return trouves;
}

// The catalogue in that order.
QVector<CatalogueQuincaillerie::LigneCatalogue> LireCatalogue(const QString& ordre)
{
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdQuincaillerie, CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, "
                       "NbPieces, NbPiecesML, Secable FROM Quincaillerie ORDER BY ")
            + ordre);
    QVector<CatalogueQuincaillerie::LigneCatalogue> catalogue;
    catalogue.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes)
        catalogue.append({ligne.Texte(QStringLiteral("IdQuincaillerie")), ArticleDe(ligne)});
    return catalogue;
}

QVector<CatalogueQuincaillerie::LigneCatalogue> CatalogueParCle()
{
    return LireCatalogue(QStringLiteral("IdQuincaillerie"));
}

// Sorts the entries examined into new, changed and unchanged by the stored
// product each stands for (`pris` then tells the stored products kept).
void Classer(CatalogueQuincaillerie::Examen& examen, const QVector<CatalogueQuincaillerie::LigneCatalogue>& stockees,
             const QVector<Produit>& stockes, QVector<bool>& pris)
{
    if (stockes.isEmpty()) {
        examen.nouvelles = examen.entrees;
        return;
    }
    const FormeNombres forme;
    QVector<Produit> fichier;
    fichier.reserve(examen.entrees.size());
    for (const CatalogueQuincaillerie::EntreeImportee& entree : examen.entrees)
        fichier.append({&entree.article, Empreinte(entree.article, forme)});
    const QVector<qsizetype> trouves = Rapprocher(fichier, stockes, pris);
    for (qsizetype j = 0; j < trouves.size(); ++j) {
        const CatalogueQuincaillerie::EntreeImportee& entree = examen.entrees[j];
        if (trouves[j] < 0)
            examen.nouvelles.append(entree);
        else if (stockes[trouves[j]].empreinte == fichier[j].empreinte)
            ++examen.inchangees;
        else
            examen.modifiees.append({entree.ligne, stockees[trouves[j]], entree.article});
    }
}

// The stored products not kept are removed, each with the line set aside
// that names it, if any (`nommees`: the code and labels of the lines set
// aside, in their order).
void MarquerSupprimees(CatalogueQuincaillerie::Examen& examen,
                       const QVector<CatalogueQuincaillerie::LigneCatalogue>& stockees,
                       const QVector<Produit>& stockes, const QVector<bool>& pris, const QVector<Article>& nommees)
{
    QVector<Produit> designes;
    designes.reserve(nommees.size());
    for (const Article& nommee : nommees)
        designes.append({&nommee, QString()});
    QVector<bool> restants = pris;
    const QVector<qsizetype> trouves = Rapprocher(designes, stockes, restants);
    QHash<qsizetype, int> ligneEcartee;
    for (qsizetype j = 0; j < trouves.size(); ++j)
        if (trouves[j] >= 0)
            ligneEcartee.insert(trouves[j], examen.ecartees[j].ligne);
    for (qsizetype i = 0; i < stockees.size(); ++i)
        if (!pris[i])
            examen.supprimees.append({stockees[i], ligneEcartee.value(i)});
}

// The examination, with the catalogue as it read it.
struct Lecture
{
    CatalogueQuincaillerie::Examen examen;
    QVector<CatalogueQuincaillerie::LigneCatalogue> catalogue;
};

Lecture Examiner(const QVector<LigneLue>& lignes)
{
    Lecture lecture;
    CatalogueQuincaillerie::Examen& examen = lecture.examen;
    QVector<Article> nommees; // by a line set aside
    for (const LigneLue& ligne : lignes) {
        if (ligne.EstVide() || ligne.champs.first() == kCodeExport)
            continue;
        std::optional<QString> defaut = ligne.Defaut(CatalogueQuincaillerie::kNombreChamps);
        Article article;
        if (!defaut)
            defaut = LireArticle(ligne, article, examen.textesCoupes);
        if (defaut) {
            examen.ecartees.append({ligne.numero, *defaut});
            int coupes = 0;
            nommees.append({Couper(ligne.Champ(0), coupes), Couper(ligne.Champ(1), coupes),
                            Couper(ligne.Champ(2), coupes)});
        } else {
            examen.entrees.append({ligne.numero, article});
        }
    }
    lecture.catalogue = CatalogueParCle();
    examen.nombreActuel = int(lecture.catalogue.size());
    const FormeNombres forme;
    QVector<Produit> stockes;
    stockes.reserve(lecture.catalogue.size());
    for (const CatalogueQuincaillerie::LigneCatalogue& stockee : lecture.catalogue)
        stockes.append({&stockee.article, Empreinte(stockee.article, forme)});
    QVector<bool> pris(stockes.size(), false);
    Classer(examen, lecture.catalogue, stockes, pris);
    MarquerSupprimees(examen, lecture.catalogue, stockes, pris, nommees);
    return lecture;
}

[[noreturn]] void EchecImportation(const QString& etape, const ErreurBase& erreur)
{
    throw std::runtime_error(QStringLiteral("Importation - Une erreur est survenue pendant %1 : le catalogue n'a "
                                            "pas été modifié.\n%2")
                                 .arg(etape, erreur.Message())
                                 .toStdString());
}

const QStringList& ColonnesCatalogue()
{
    static const QStringList colonnes = {kCodeExport, kLibelle,  kLibelle2,   kTarifVente,
                                         kTarifAchat, kNbPieces, kNbPiecesML, kSecable};
    return colonnes;
}

QVariantList Valeurs(const Article& article)
{
    return {article.codeExport, article.libelle,  article.libelle2,   article.tarifVente,
            article.tarifAchat, article.nbPieces, article.nbPiecesML, qint64(article.secable ? 1 : 0)};
}

using Avancement = std::function<void(qsizetype faites)>;

// The entries of an import written one way (changed, or new), in a
// statement per slice of many entries: their lines in the file, and how
// those from `debut` to `fin` are written.
struct Etape
{
    QString nom; // as a failure names it
    QVector<int> lignes;
    std::function<void(qsizetype debut, qsizetype fin, const Avancement&)> ecrire;
};

QVector<Etape> Etapes(const CatalogueQuincaillerie::Examen& examen)
{
    QVector<Modification> modifications;
    QVector<QVariantList> ajouts;
    QVector<int> lignesModifiees;
    QVector<int> lignesAjoutees;
    for (const CatalogueQuincaillerie::EntreeModifiee& modifiee : examen.modifiees) {
        modifications.append({modifiee.stockee.cle, Valeurs(modifiee.article)});
        lignesModifiees.append(modifiee.ligne);
    }
    for (const CatalogueQuincaillerie::EntreeImportee& nouvelle : examen.nouvelles) {
        ajouts.append(Valeurs(nouvelle.article));
        lignesAjoutees.append(nouvelle.ligne);
    }
    const QString table = QStringLiteral("Quincaillerie");
    return {
        {QStringLiteral("la modification"), lignesModifiees,
         [table, modifications](qsizetype debut, qsizetype fin, const Avancement& avancement) {
             ModifierParTranches(DMPose().Quarlo(), table, QStringLiteral("IdQuincaillerie"), ColonnesCatalogue(),
                                 modifications.mid(debut, fin - debut), {}, avancement);
         }},
        {QStringLiteral("l'insertion"), lignesAjoutees,
         [table, ajouts](qsizetype debut, qsizetype fin, const Avancement& avancement) {
             InsererParTranches(DMPose().Quarlo(), table, ColonnesCatalogue(), ajouts.mid(debut, fin - debut),
                                avancement);
         }},
    };
}

// The first entry of the step from `debut` on that the database refuses
// alone, tried in a group that is then given up; -1 when none is.
qsizetype EntreeRefusee(const Etape& etape, qsizetype debut)
{
    Transaction essai(DMPose().Quarlo());
    for (qsizetype i = debut; i < etape.lignes.size(); ++i) {
        try {
            etape.ecrire(i, i + 1, {});
        } catch (const ErreurBase&) {
            return i;
        }
    }
    return -1;
}

// Brings the catalogue to what was examined, in one transaction: false,
// and nothing written, when it is no longer the catalogue `lu` then.
bool Ecrire(const CatalogueQuincaillerie::Examen& examen, const QVector<CatalogueQuincaillerie::LigneCatalogue>& lu,
            const CatalogueQuincaillerie::Progression& progression)
{
    QStringList suppressions;
    for (const CatalogueQuincaillerie::EntreeSupprimee& supprimee : examen.supprimees)
        suppressions << supprimee.stockee.cle;
    const QVector<Etape> etapes = Etapes(examen);
    qsizetype total = suppressions.size();
    for (const Etape& etape : etapes)
        total += etape.lignes.size();
    qsizetype faites = 0;
    const auto avancer = [&](qsizetype nombre) {
        if (progression)
            progression(int(nombre), int(total));
    };

    const Etape* courante = nullptr;
    qsizetype faitesEtape = 0;
    try {
        Transaction transaction(DMPose().Quarlo());
        if (CatalogueParCle() != lu)
            return false;
        ExecuterParTranches(DMPose().qryExec(),
                            QStringLiteral("DELETE FROM Quincaillerie WHERE IdQuincaillerie IN (:IdQuincailleries)"),
                            QStringLiteral("IdQuincailleries"), suppressions);
        faites = suppressions.size();
        if (faites > 0)
            avancer(faites);
        for (const Etape& etape : etapes) {
            courante = &etape;
            faitesEtape = 0;
            etape.ecrire(0, etape.lignes.size(), [&](qsizetype ecrites) {
                faitesEtape = ecrites;
                avancer(faites + ecrites);
            });
            faites += etape.lignes.size();
        }
        courante = nullptr;
        transaction.Valider();
    } catch (const ErreurBase& erreur) {
        // A slice refused: the entry that made it fail is found again, for
        // the administrator to correct its line.
        if (!courante || erreur.Raison() != ErreurBase::Cause::Instruction)
            EchecImportation(QStringLiteral("l'enregistrement du catalogue"), erreur);
        const qsizetype refusee = EntreeRefusee(*courante, faitesEtape);
        const int ligne = courante->lignes[refusee < 0 ? faitesEtape : refusee];
        EchecImportation(QStringLiteral("%1 de la ligne %2").arg(courante->nom).arg(ligne), erreur);
    }
    return true;
}

} // namespace

namespace CatalogueQuincaillerie {

QVector<LigneCatalogue> Lister()
{
    return LireCatalogue(QStringLiteral("Libelle, Libelle2 ASC"));
}

std::optional<Article> Lire(const QString& cle)
{
    const Resultat lignes = LireParCle(
        DMPose().qrySelect(),
        QStringLiteral("SELECT Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, CodeExport, "
                       "Secable FROM Quincaillerie WHERE IdQuincaillerie = :IdQuincaillerie"),
        QStringLiteral("IdQuincaillerie"), cle);
    if (lignes.NombreLignes() != 1)
        return std::nullopt;
    return ArticleDe(lignes.Premiere());
}

Enregistrement Enregistrer(const QString& cle, const Article& article, const std::optional<Article>& lu)
{
    if (!cle.isEmpty() && !lu)
        return Enregistrement::SupprimeAilleurs;
    Requete& requete = DMPose().qryExec();
    ValeursLues valeursLues;
    if (cle.isEmpty()) {
        requete.SetSql(QStringLiteral(
            "INSERT INTO Quincaillerie ( Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, "
            "Secable, CodeExport) VALUES ( :Libelle , :Libelle2 , :TarifVente, :TarifAchat, :NbPieces, "
            ":NbPiecesML, :Secable , :CodeExport )"));
    } else {
        requete.SetSql(QStringLiteral(
            "UPDATE Quincaillerie SET Libelle = :Libelle, Libelle2 = :Libelle2, TarifVente = :TarifVente, "
            "TarifAchat = :TarifAchat, NbPieces = :NbPieces, NbPiecesML = :NbPiecesML, Secable = :Secable, "
            "CodeExport = :CodeExport WHERE IdQuincaillerie = :IdQuincaillerie")
                       + ValeursDe(*lu, valeursLues).Condition());
        requete.LierTexte(QStringLiteral("IdQuincaillerie"), cle);
        valeursLues.Lier(requete);
    }
    Lier(requete, article);
    const int ecrites = requete.Executer();
    requete.ViderParametres();
    return cle.isEmpty() ? Enregistrement::Fait
                         : Constat(ecrites, QStringLiteral("Quincaillerie"), QStringLiteral("IdQuincaillerie"), cle);
}

Enregistrement Supprimer(const LigneCatalogue& lue)
{
    ValeursLues valeursLues;
    return SupprimerLu(DMPose().qryDelete(), QStringLiteral("Quincaillerie"), QStringLiteral("IdQuincaillerie"),
                       lue.cle, ValeursDe(lue.article, valeursLues));
}

QStringList EnteteExportation()
{
    return {kCodeExport, kLibelle, kLibelle2, kTarifVente, kTarifAchat, kNbPieces, kNbPiecesML, kSecable};
}

QVector<QStringList> LignesExportation()
{
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, "
                       "Secable FROM Quincaillerie ORDER BY CodeExport, Libelle, Libelle2 ASC"));
    QVector<QStringList> exportees;
    exportees.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes)
        exportees.append(ChampsExportes(ArticleDe(ligne)));
    return exportees;
}

QString Examen::Refus() const
{
    if (entrees.isEmpty())
        return QStringLiteral("Le fichier ne contient aucune entrée à importer.");
    if (ecartees.size() > entrees.size())
        return QStringLiteral("La plupart des lignes du fichier sont illisibles (%1 sur %2).")
            .arg(ecartees.size())
            .arg(ecartees.size() + entrees.size());
    return {};
}

Examen Examiner(const QVector<LigneLue>& lignes)
{
    return ::Examiner(lignes).examen;
}

Importation Importer(const QVector<LigneLue>& lignes, const std::function<bool(const Examen&)>& confirmer,
                     const Progression& progression)
{
    Lecture lecture;
    try {
        lecture = ::Examiner(lignes);
    } catch (const ErreurBase& erreur) {
        EchecImportation(QStringLiteral("la lecture du catalogue"), erreur);
    }
    Importation importation{std::move(lecture.examen)};
    if (!importation.examen.Refus().isEmpty() || importation.examen.RienAEcrire() || !confirmer(importation.examen))
        return importation;
    importation.faite = Ecrire(importation.examen, lecture.catalogue, progression);
    importation.modifieAilleurs = !importation.faite;
    return importation;
}

} // namespace CatalogueQuincaillerie
