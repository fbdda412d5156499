#include "data/Poseurs.h"

#include "data/AccesDonnees.h"
#include "data/DMPose.h"
#include "data/Schema.h"
#include "data/ValeursLues.h"
#include "model/Noms.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

const QString kSqlPoseursConnus = QStringLiteral(
    "SELECT IdPoseur, Code, Nom, Rue1, Rue2, Cp, Ville, Tel, Fax, Portable, Mail, Contact, Siret, RGE "
    "FROM Poseur WHERE Code IS NOT NULL");

// The rows of one installer code as the start finds them. A code found once
// is the one row the host's section updates; a code found several times is
// ambiguous, and a section of that code adds one more row.
struct PoseurConnu
{
    int lignes = 0;
    QString cle;                 // the row's IdPoseur, when there is one stored row
    int ajout = -1;              // or the row this start adds, when it is the one row
    Poseurs::ValeursHote valeurs; // its columns, when there is one row
    bool valeursNulles = false;   // one of them is NULL, which no section writes
};

// Every row with a code, by code: one SELECT for the whole file instead of
// one look-up per section, which made a start with many installers
// quadratic.
QHash<QString, PoseurConnu> PoseursConnus(TDMPose& dm)
{
    QHash<QString, PoseurConnu> connus;
    const Resultat lignes = LireTout(dm.qrySelect(), kSqlPoseursConnus);
    connus.reserve(lignes.NombreLignes());
    for (const Ligne& ligne : lignes) {
        PoseurConnu& connu = connus[ligne.Texte(QStringLiteral("Code"))];
        ++connu.lignes;
        connu.cle = ligne.Texte(QStringLiteral("IdPoseur"));
        connu.valeursNulles = false;
        for (int i = 0; i < Poseurs::kNombreChampsHote; ++i) {
            const QString& colonne = Poseurs::ChampsHote()[i];
            connu.valeurs[i] = ligne.Texte(colonne);
            connu.valeursNulles = connu.valeursNulles || ligne.EstNul(colonne);
        }
    }
    return connus;
}

// The section leaves its one row exactly as it is.
bool DejaEnregistre(const PoseurConnu& connu, const Poseurs::ValeursHote& valeurs)
{
    return connu.lignes == 1 && !connu.valeursNulles && connu.valeurs == valeurs;
}

// Every code of the file names one row that already holds what its last
// section says (sections of one code update the same row in turn).
bool RienAEcrire(const QVector<Poseurs::ValeursHote>& poseurs, const QHash<QString, PoseurConnu>& connus)
{
    QHash<QString, const Poseurs::ValeursHote*> derniers;
    derniers.reserve(poseurs.size());
    for (const Poseurs::ValeursHote& valeurs : poseurs)
        derniers.insert(valeurs[0], &valeurs);
    return std::all_of(derniers.cbegin(), derniers.cend(), [&connus](const Poseurs::ValeursHote* valeurs) {
        return DejaEnregistre(connus.value((*valeurs)[0]), *valeurs);
    });
}

// The width of each of the host's columns in the schema.
const std::array<int, Poseurs::kNombreChampsHote>& LargeursHote()
{
    static const std::array<int, Poseurs::kNombreChampsHote> largeurs = [] {
        std::array<int, Poseurs::kNombreChampsHote> lues{};
        const auto table = std::find_if(SchemaQuarlo().cbegin(), SchemaQuarlo().cend(),
                                        [](const Table& t) { return t.nom == u"Poseur"; });
        for (int i = 0; i < Poseurs::kNombreChampsHote; ++i)
            for (const Colonne& colonne : table->colonnes)
                if (MemeNom(colonne.nom, Poseurs::ChampsHote()[i]))
                    lues[i] = colonne.largeur;
        return lues;
    }();
    return largeurs;
}

// A section's values as their columns hold them, and what was cut.
struct SectionCoupee
{
    Poseurs::ValeursHote valeurs;
    QVector<Poseurs::TexteCoupe> coupes;
};

SectionCoupee Couper(const Poseurs::ValeursHote& valeurs)
{
    SectionCoupee section;
    for (int i = 0; i < Poseurs::kNombreChampsHote; ++i) {
        const int largeur = LargeursHote()[i];
        section.valeurs[i] = largeur > 0 ? CouperTexte(valeurs[i], largeur) : valeurs[i];
        if (section.valeurs[i].size() < valeurs[i].size())
            section.coupes.append({valeurs[0], Poseurs::ChampsHote()[i], int(valeurs[i].size()), largeur});
    }
    return section;
}

// What a start writes: the rows it changes, by key, and those it adds, in
// the order of the sections.
struct EcrituresPoseurs
{
    QVector<Modification> modifications;
    QVector<QVariantList> ajouts;
};

// One section: the row of its code updated when there is exactly one (by
// its key, which is the same row), else a new row; a row the section would
// leave as it is is not written. `connu` follows what is to be written, so a
// code given twice in the file updates the row its first section adds: that
// row is added with the values of the last. Returns whether it writes.
bool PrevoirPoseur(const Poseurs::ValeursHote& valeurs, PoseurConnu& connu, EcrituresPoseurs& ecritures)
{
    if (DejaEnregistre(connu, valeurs))
        return false;
    if (connu.lignes == 1 && connu.ajout >= 0) {
        ecritures.ajouts[connu.ajout] = QVariantList(valeurs.cbegin(), valeurs.cend());
    } else if (connu.lignes == 1) {
        // Given twice, the row ends with the values of the last.
        ecritures.modifications.append({connu.cle, QVariantList(valeurs.cbegin() + 1, valeurs.cend())});
    } else {
        ++connu.lignes;
        connu.ajout = int(ecritures.ajouts.size());
        ecritures.ajouts.append(QVariantList(valeurs.cbegin(), valeurs.cend()));
    }
    connu.valeurs = valeurs;
    connu.valeursNulles = false;
    return true;
}

} // namespace

namespace Poseurs {

const std::array<QString, kNombreChampsHote>& ChampsHote()
{
    static const std::array<QString, kNombreChampsHote> champs = {
        QStringLiteral("Code"),  QStringLiteral("Nom"),      QStringLiteral("Rue1"),
        QStringLiteral("Rue2"),  QStringLiteral("Cp"),       QStringLiteral("Ville"),
        QStringLiteral("Tel"),   QStringLiteral("Fax"),      QStringLiteral("Portable"),
        QStringLiteral("Mail"),  QStringLiteral("Contact"),  QStringLiteral("Siret"),
        QStringLiteral("RGE"),
    };
    return champs;
}

QVector<Poseur> Lister()
{
    QVector<Poseur> poseurs;
    const Resultat lignes = LireTout(
        DMPose().qrySelect(),
        QStringLiteral("SELECT IdPoseur, Code, Nom, Rue1, Rue2, cp, Ville, Siret, RGE FROM poseur ORDER BY Nom ASC"));
    for (const Ligne& ligne : lignes) {
        const auto texte = [&ligne](const char* colonne) { return ligne.Texte(QLatin1String(colonne)); };
        poseurs.append({texte("IdPoseur"), texte("Code"), texte("Nom"), texte("Rue1"), texte("Rue2"), texte("Cp"),
                        texte("Ville"), texte("RGE"), texte("Siret")});
    }
    return poseurs;
}

Enregistrement Supprimer(const Poseur& lu)
{
    ValeursLues valeursLues;
    valeursLues.Texte(QStringLiteral("Code"), lu.code)
        .Texte(QStringLiteral("Nom"), lu.nom)
        .Texte(QStringLiteral("Rue1"), lu.rue1)
        .Texte(QStringLiteral("Rue2"), lu.rue2)
        .Texte(QStringLiteral("Cp"), lu.cp)
        .Texte(QStringLiteral("Ville"), lu.ville)
        .Texte(QStringLiteral("Siret"), lu.siret)
        .Texte(QStringLiteral("RGE"), lu.rge);
    return SupprimerLu(DMPose().qryDelete(), QStringLiteral("Poseur"), QStringLiteral("IdPoseur"), lu.cle,
                       valeursLues);
}

QString Nom(const QString& cle)
{
    const Resultat poseurs =
        LireParCle(DMPose().qrySelect(),
                   QStringLiteral("SELECT Nom FROM Poseur WHERE IdPoseur = :IdPoseur ORDER BY Nom ASC"),
                   QStringLiteral("IdPoseur"), cle);
    return poseurs.NombreLignes() == 1 ? poseurs.Premiere().Texte(QStringLiteral("Nom")) : QString();
}

QHash<QString, QString> Noms(const QStringList& cles)
{
    const QHash<qint64, QStringList> parEntier = ClesParEntier(cles);
    QHash<qint64, QString> noms;
    QSet<qint64> doubles;
    Requete requete(DMPose().Quarlo());
    LireParTranches(requete, QStringLiteral("SELECT IdPoseur AS Cle, Nom FROM Poseur WHERE IdPoseur IN (:IdPoseurs)"),
                    QStringLiteral("IdPoseurs"), parEntier.keys(), [&](const Ligne& ligne) {
                        const qint64 cle = ligne.Entier(QStringLiteral("Cle"));
                        if (noms.contains(cle))
                            doubles.insert(cle);
                        noms.insert(cle, ligne.Texte(QStringLiteral("Nom")));
                    });
    QHash<QString, QString> resultat;
    for (auto nom = noms.cbegin(); nom != noms.cend(); ++nom)
        if (!doubles.contains(nom.key()))
            for (const QString& cle : parEntier.value(nom.key()))
                resultat.insert(cle, nom.value());
    return resultat;
}

Identite LireIdentite(const QString& cle)
{
    const Resultat poseurs =
        LireParCle(DMPose().qrySelect(),
                   QStringLiteral("SELECT Nom, Siret, RGE FROM Poseur where IdPoseur = :IdPoseur ORDER BY Nom ASC"),
                   QStringLiteral("IdPoseur"), cle);
    if (poseurs.NombreLignes() != 1)
        return {};
    const Ligne& poseur = poseurs.Premiere();
    return {poseur.Texte(QStringLiteral("Nom")), poseur.Texte(QStringLiteral("Siret")),
            poseur.Texte(QStringLiteral("RGE"))};
}

QVector<TexteCoupe> EnregistrerPoseursHote(const QVector<ValeursHote>& poseurs)
{
    QVector<SectionCoupee> sections;
    QVector<ValeursHote> coupees;
    for (const ValeursHote& valeurs : poseurs) {
        sections.append(Couper(valeurs));
        coupees.append(sections.back().valeurs);
    }
    // When the rows already say what the file says (every start but the
    // first, usually) the database is not written to at all, so no write
    // lock is taken.
    TDMPose& dm = DMPose();
    if (RienAEcrire(coupees, PoseursConnus(dm)))
        return {};
    Transaction transaction(dm.Quarlo());
    // Read again under the write lock: another copy may have written since.
    QHash<QString, PoseurConnu> connus = PoseursConnus(dm);
    EcrituresPoseurs ecritures;
    QVector<TexteCoupe> coupes;
    for (const SectionCoupee& section : sections)
        if (PrevoirPoseur(section.valeurs, connus[section.valeurs[0]], ecritures))
            coupes += section.coupes;
    // A statement per slice of rows, not per installer: a first start on an
    // empty server database adds them all.
    const QStringList champs(ChampsHote().cbegin(), ChampsHote().cend());
    ModifierParTranches(dm.Quarlo(), QStringLiteral("Poseur"), QStringLiteral("IdPoseur"), champs.mid(1),
                        ecritures.modifications);
    InsererParTranches(dm.Quarlo(), QStringLiteral("Poseur"), champs, ecritures.ajouts);
    transaction.Valider();
    return coupes;
}

} // namespace Poseurs
