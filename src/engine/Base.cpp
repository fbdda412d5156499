#include "engine/Base.h"

#include "engine/Moteur.h"
#include "engine/TexteSql.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QThread>

#include <cmath>

namespace {

// At most this many statements stay prepared: the windows paste keys into
// some texts, so an unbounded cache would grow for as long as the program runs.
constexpr int kTailleCache = 256;
// A write outside any group that another workstation's group overtook is run again this many times.
constexpr int kEssaisEcriture = 3;

qint64 EntierDeTexte(const QString& texte)
{
    const QString nettoye = texte.trimmed();
    bool ok = false;
    const qint64 entier = nettoye.toLongLong(&ok);
    if (ok)
        return entier;
    const double decimal = nettoye.toDouble(&ok);
    if (ok && std::isfinite(decimal) && std::fabs(decimal) < 9.2e18)
        return static_cast<qint64>(decimal);
    return 0;
}

// A parameter's name as a caller writes it (" :IdPose"), without its blanks and colon.
QStringView NomParametre(const QString& nom)
{
    QStringView cle(nom);
    if (!cle.isEmpty() && (cle.front().isSpace() || cle.back().isSpace()))
        cle = cle.trimmed();
    if (cle.startsWith(u':'))
        cle = cle.mid(1);
    return cle;
}

} // namespace

// ---------------------------------------------------------------------------
// Helpers shared by the back ends

QString TexteDecimal(double valeur)
{
    // The shortest digits that read back to the same value, without an
    // exponent for ordinary amounts.
    const double absolu = std::fabs(valeur);
    if (valeur == 0.0 || (absolu >= 1e-5 && absolu < 1e16))
        return QString::number(valeur, 'f', QLocale::FloatingPointShortest);
    return QString::number(valeur, 'g', QLocale::FloatingPointShortest);
}

void EncoderUtf8(QStringView texte, QByteArray& utf8)
{
    // A text of ASCII characters, the usual key, is copied without the encoder.
    const qsizetype longueur = texte.size();
    const char16_t* source = texte.utf16();
    qsizetype i = 0;
    while (i < longueur && source[i] < 0x80)
        ++i;
    if (i == longueur) {
        if (utf8.size() != longueur)
            utf8.resize(longueur);
        char* cible = utf8.data();
        for (qsizetype j = 0; j < longueur; ++j)
            cible[j] = char(source[j]);
        return;
    }
    QStringEncoder encodeur(QStringEncoder::Utf8);
    utf8.resize(encodeur.requiredSpace(longueur));
    const char* fin = encodeur.appendToBuffer(utf8.data(), texte);
    utf8.resize(fin - utf8.constData());
}

std::optional<double> DecimalDeTexte(QStringView texte)
{
    // A number as the file's engine reads one in a text: blanks around,
    // digits with a point and an exponent, nothing else.
    static const QRegularExpression nombre(QStringLiteral(R"(^\s*[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?\s*$)"));
    if (!nombre.match(texte.toString()).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double valeur = QLocale::c().toDouble(texte.trimmed(), &ok);
    if (!ok || !std::isfinite(valeur))
        return std::nullopt;
    return valeur;
}

std::optional<qint64> CleEnEntier(QStringView texte)
{
    bool ok = false;
    const qint64 entier = texte.trimmed().toLongLong(&ok);
    if (ok)
        return entier;
    const std::optional<double> decimal = DecimalDeTexte(texte);
    if (!decimal || std::floor(*decimal) != *decimal || std::fabs(*decimal) >= 9.2e18)
        return std::nullopt;
    return static_cast<qint64>(*decimal);
}

bool EstChaineConnexion(const QString& texte)
{
    static const QRegularExpression paire(QStringLiteral(R"(^\s*[A-Za-z_]+\s*=)"));
    return texte.startsWith(QStringLiteral("postgresql://")) || texte.startsWith(QStringLiteral("postgres://"))
           || paire.match(texte).hasMatch();
}

QString NomCatalogue(const QString& nom)
{
    return nom.toLower();
}

// ---------------------------------------------------------------------------
// ErreurBase

ErreurBase::ErreurBase(const QString& message, Cause cause, const QString& texteMoteur, int code)
    : std::runtime_error(message.toStdString()), cause(cause), code(code), texteMoteur(texteMoteur)
{
}

// ---------------------------------------------------------------------------
// Ligne

int Ligne::Indice(const QString& colonne) const
{
    if (colonnes) {
        // The first column of that name.
        for (int i = 0; i < colonnes->noms.size(); ++i)
            if (MemeNom(colonnes->noms[i], colonne))
                return i;
    }
    throw ErreurBase(QStringLiteral("Colonne inconnue dans le résultat : %1").arg(colonne).toStdString());
}

QString Ligne::Texte(const QString& colonne) const
{
    const QVariant& valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::Double:
        return TexteDecimal(valeur.value<double>());
    case QMetaType::LongLong:
        return QString::number(valeur.value<qint64>());
    case QMetaType::QByteArray:
        return QString::fromUtf8(valeur.value<QByteArray>());
    case QMetaType::QString:
        return valeur.value<QString>();
    default:
        return QString(QLatin1String(""));
    }
}

qint64 Ligne::Entier(const QString& colonne) const
{
    const QVariant& valeur = valeurs.at(Indice(colonne));
    switch (valeur.typeId()) {
    case QMetaType::LongLong:
        return valeur.value<qint64>();
    case QMetaType::Double: {
        const double decimal = valeur.value<double>();
        return std::isfinite(decimal) && std::fabs(decimal) < 9.2e18 ? static_cast<qint64>(decimal) : 0;
    }
    case QMetaType::QString:
        return EntierDeTexte(valeur.value<QString>());
    case QMetaType::QByteArray:
        return EntierDeTexte(QString::fromUtf8(valeur.value<QByteArray>()));
    default:
        return 0;
    }
}

double Ligne::Decimal(const QString& colonne) const
{
    const QVariant& valeur = valeurs.at(Indice(colonne));
    const auto deTexte = [](const QString& texte) {
        bool ok = false;
        const double decimal = texte.trimmed().toDouble(&ok);
        return ok ? decimal : 0.0;
    };
    switch (valeur.typeId()) {
    case QMetaType::LongLong:
        return static_cast<double>(valeur.value<qint64>());
    case QMetaType::Double:
        return valeur.value<double>();
    case QMetaType::QString:
        return deTexte(valeur.value<QString>());
    case QMetaType::QByteArray:
        return deTexte(QString::fromUtf8(valeur.value<QByteArray>()));
    default:
        return 0.0;
    }
}

bool Ligne::EstNul(const QString& colonne) const
{
    return !valeurs.at(Indice(colonne)).isValid();
}

QVariant Ligne::Valeur(const QString& colonne) const
{
    return valeurs.at(Indice(colonne));
}

QVariant Ligne::ValeurIndice(int indice) const
{
    if (indice < 0 || indice >= valeurs.size())
        throw ErreurBase(QStringLiteral("Colonne %1 absente du résultat").arg(indice).toStdString());
    return valeurs.at(indice);
}

int Ligne::NombreColonnes() const
{
    return valeurs.size();
}

// ---------------------------------------------------------------------------
// Connexion

Connexion::Connexion() = default;

Connexion::~Connexion()
{
    Fermer();
}

void Connexion::Installer(std::unique_ptr<Moteur> nouveau)
{
    nouveau->compteurs = &compteurs;
    nouveau->apresReprise = [this] {
        // The server's session was made again: its prepared statements are gone.
        ViderCache();
        ++generation;
    };
    nouveau->Demarrer();
    moteur = std::move(nouveau);
    ++generation;
}

void Connexion::Ouvrir(const QString& nomFichier, const QByteArray& motDePasse)
{
    Fermer();
    bool cree = false;
    Installer(OuvrirFichier(nomFichier, motDePasse, cree));
    fichier = nomFichier;
    fichierCree = cree;
}

void Connexion::OuvrirServeur(const QString& chaineConnexion)
{
    Fermer();
    Installer(::OuvrirServeur(chaineConnexion));
}

void Connexion::Fermer()
{
    if (!moteur)
        return;
    ViderCache();
    // A statement still held by a query is let go when the query lets it go.
    moteur.reset();
    fichier.clear();
    fichierCree = false;
    ++generation;
    profondeurTransaction = 0;
}

bool Connexion::EstConnectee() const
{
    return moteur != nullptr;
}

bool Connexion::EstServeur() const
{
    return moteur && moteur->EstServeur();
}

QString Connexion::Designation() const
{
    return moteur ? moteur->Designation() : QString();
}

sqlite3* Connexion::Handle() const
{
    return moteur ? moteur->Handle() : nullptr;
}

Moteur& Connexion::MoteurOuvert() const
{
    if (!moteur)
        throw ErreurBase("La base de données n'est pas ouverte.");
    return *moteur;
}

void Connexion::ViderCache()
{
    cache.clear();
    parAdresse.clear();
}

std::shared_ptr<Instruction> Connexion::Preparee(const QString& sql)
{
    Moteur& ouvert = MoteurOuvert();
    if (const auto connue = parAdresse.constFind(sql.constData());
        connue != parAdresse.constEnd() && connue.value()->sql == sql) {
        connue.value()->usage = ++compteurUsage;
        return connue.value();
    }
    if (const auto trouvee = cache.constFind(sql); trouvee != cache.constEnd()) {
        trouvee.value()->usage = ++compteurUsage;
        return trouvee.value();
    }
    std::shared_ptr<Instruction> instruction = ouvert.Preparer(sql, generation);
    if (cache.size() >= kTailleCache)
        OublierMoinsUtilisee();
    instruction->usage = ++compteurUsage;
    cache.insert(instruction->sql, instruction);
    parAdresse.insert(instruction->sql.constData(), instruction);
    return instruction;
}

void Connexion::OublierMoinsUtilisee()
{
    auto ancienne = cache.begin();
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it.value()->usage < ancienne.value()->usage)
            ancienne = it;
    }
    if (ancienne != cache.end()) {
        parAdresse.remove(ancienne.value()->sql.constData());
        cache.erase(ancienne);
    }
}

void Connexion::ExecuterScript(const QString& sql)
{
    Moteur& ouvert = MoteurOuvert();
    if (!EnTransaction()) {
        ouvert.AvantInstructionIsolee();
        if (ouvert.GrouperEcrituresIsolees() && !EstLecture(sql)) {
            Transaction groupe(*this);
            ++compteurs.instructions;
            ouvert.ExecuterScript(sql);
            groupe.Valider();
            return;
        }
    }
    ++compteurs.instructions;
    ouvert.ExecuterScript(sql);
}

QStringList Connexion::Tables()
{
    return MoteurOuvert().Tables();
}

bool Connexion::TableExiste(const QString& table)
{
    return MoteurOuvert().Tables().contains(table, Qt::CaseInsensitive);
}

QStringList Connexion::Colonnes(const QString& table)
{
    return MoteurOuvert().Colonnes(table);
}

bool Connexion::IndexExiste(const QString& index)
{
    return MoteurOuvert().IndexExiste(index);
}

Table Connexion::Structure(const QString& table)
{
    return MoteurOuvert().Structure(table);
}

QVector<IndexTable> Connexion::Index(const QString& table)
{
    return MoteurOuvert().Index(table);
}

QString Connexion::CreationTable(const Table& table) const
{
    const Moteur& ouvert = MoteurOuvert();
    QStringList elements;
    for (const Colonne& colonne : table.colonnes)
        elements << ouvert.DefinitionColonne(colonne);
    const auto contrainte = [&ouvert](const ContrainteTable& c, const char* genre) {
        QString texte;
        if (!c.nom.isEmpty())
            texte = QStringLiteral("CONSTRAINT %1 ").arg(ouvert.Identifiant(c.nom));
        return texte + QLatin1String(genre) + QStringLiteral(" (") + c.colonnes.join(QStringLiteral(", ")) + u')';
    };
    if (table.clePrimaire)
        elements << contrainte(*table.clePrimaire, "PRIMARY KEY");
    for (const ContrainteTable& unique : table.uniques)
        elements << contrainte(unique, "UNIQUE");
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table.nom, elements.join(QStringLiteral(", ")));
}

void Connexion::AjouterColonne(const QString& table, const Colonne& colonne)
{
    Moteur& ouvert = MoteurOuvert();
    ExecuterScript(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(ouvert.NomTable(table), ouvert.DefinitionColonne(colonne)));
}

QString Connexion::DernierIdentifiant(const QString& table)
{
    return MoteurOuvert().DernierIdentifiant(table);
}

QString Connexion::CompteurTable(const QString& table)
{
    return MoteurOuvert().CompteurTable(table);
}

void Connexion::AjusterCompteur(const QString& table, qint64 auMoins)
{
    MoteurOuvert().AjusterCompteur(table, auMoins);
}

QString Connexion::DerniereCleInseree()
{
    return MoteurOuvert().DerniereCleInseree();
}

int Connexion::LignesModifiees() const
{
    return moteur ? moteur->LignesModifiees() : 0;
}

int Connexion::ParametresMax() const
{
    return MoteurOuvert().ParametresMax();
}

bool Connexion::PeutModifier(const QStringList& tables)
{
    return MoteurOuvert().PeutModifier(tables);
}

QString Connexion::Utilisateur() const
{
    return moteur ? moteur->Utilisateur() : QString();
}

// ---------------------------------------------------------------------------
// Requete

Requete::Requete(Connexion& connexion) : connexion(connexion) {}

Requete::~Requete() = default;

void Requete::SetSql(const QString& texte)
{
    // The same text again (the usual case in a loop) keeps its statement, and
    // the rows of its last run until it runs again, which overwrites them in place.
    if (instruction && listes.empty()
        && (texte.constData() == sql.constData() ? texte.size() == sql.size() : texte == sql)) {
        ViderParametres();
        return;
    }
    sql = texte;
    sqlListes.clear();
    listes.clear();
    instruction.reset();
    valeurs.clear();
    resultat.lignes.clear();
}

Instruction& Requete::Preparee()
{
    if (!instruction || instruction->generation != connexion.Generation()) {
        instruction = connexion.Preparee(SqlEffectif());
        valeurs.resize(instruction->parametres.size());
        for (ListeLiee& liste : listes)
            liste.positions.clear();
    }
    return *instruction;
}

template <class Affecter>
void Requete::Lier(const QString& nom, Affecter affecter)
{
    // Every parameter of that name takes the value (":idPose" and ":IdPose"
    // are one name here); a name the text does not use is ignored.
    const Instruction& preparee = Preparee();
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        ValeurParametre& valeur = valeurs[i];
        // The very characters of the name last bound to this parameter (a
        // literal, or a string this query still holds, so no other name's)
        // need no comparing: a loop binding the same names compares none.
        const bool memeObjet =
            !nom.isEmpty() && nom.constData() == valeur.nomLie.constData() && nom.size() == valeur.nomLie.size();
        if (!memeObjet) {
            if (!preparee.EstNomme(i, NomParametre(nom)))
                continue;
            valeur.nomLie = nom;
        }
        affecter(valeur);
    }
}

void Requete::LierTexte(const QString& nom, const QString& valeur)
{
    Lier(nom, [&valeur](ValeurParametre& v) {
        v.genre = ValeurParametre::Genre::Texte;
        EncoderUtf8(valeur, v.utf8);
    });
}

void Requete::LierEntier(const QString& nom, qint64 valeur)
{
    Lier(nom, [valeur](ValeurParametre& v) {
        v.genre = ValeurParametre::Genre::Entier;
        v.entier = valeur;
    });
}

void Requete::LierDecimal(const QString& nom, double valeur)
{
    Lier(nom, [valeur](ValeurParametre& v) {
        v.genre = ValeurParametre::Genre::Decimal;
        v.decimal = valeur;
    });
}

void Requete::LierNul(const QString& nom)
{
    Lier(nom, [](ValeurParametre& v) { v.genre = ValeurParametre::Genre::Nulle; });
}

void Requete::LierListe(const QString& nom, const QStringList& liste)
{
    if (liste.size() > kTailleListeMax)
        throw ErreurBase(QStringLiteral("Une liste liée à une requête compte au plus %1 valeurs.").arg(kTailleListeMax).toStdString());
    // Lists of few sizes, so that the statements of each size are prepared once.
    int taille = 1;
    while (taille < liste.size())
        taille *= 2;
    const QString nomListe = NomParametre(nom).toString();
    auto existante = std::find_if(listes.begin(), listes.end(),
                                  [&nomListe](const ListeLiee& l) { return MemeNom(l.nom, nomListe); });
    if (existante == listes.end())
        existante = listes.insert(listes.end(), ListeLiee());
    existante->nom = nomListe;
    existante->valeurs = liste;
    if (existante->taille == taille && instruction)
        return;
    existante->taille = taille;

    // A new text: the values bound so far follow it by name.
    QString developpe = sql;
    for (const ListeLiee& l : listes)
        developpe = DevelopperListe(developpe, l.nom, l.taille);
    const std::shared_ptr<Instruction> ancienne = instruction;
    std::vector<ValeurParametre> anciennes = std::move(valeurs);
    sqlListes = developpe;
    instruction.reset();
    valeurs.clear();
    Instruction& nouvelle = Preparee();
    if (!ancienne)
        return;
    for (std::size_t i = 0; i < anciennes.size(); ++i) {
        if (anciennes[i].genre == ValeurParametre::Genre::Absente)
            continue;
        for (std::size_t j = 0; j < valeurs.size(); ++j)
            if (nouvelle.EstNomme(j, ancienne->parametres[i]))
                valeurs[j] = anciennes[i];
    }
}

void Requete::LierListes()
{
    for (ListeLiee& liste : listes) {
        if (liste.positions.empty()) {
            for (int k = 0; k < liste.taille; ++k) {
                const QString element = NomElementListe(liste.nom, k);
                for (std::size_t i = 0; i < instruction->parametres.size(); ++i)
                    if (instruction->EstNomme(i, element))
                        liste.positions.push_back({i, k});
            }
        }
        // The last value fills the list up to its size; an empty list is one null, which matches nothing.
        for (const ListeLiee::Place& place : liste.positions) {
            ValeurParametre& valeur = valeurs[place.parametre];
            if (liste.valeurs.isEmpty()) {
                valeur.genre = ValeurParametre::Genre::Nulle;
            } else {
                valeur.genre = ValeurParametre::Genre::Texte;
                EncoderUtf8(liste.valeurs[std::min<qsizetype>(place.element, liste.valeurs.size() - 1)], valeur.utf8);
            }
        }
    }
}

int Requete::NombreParametres()
{
    return int(Preparee().parametres.size());
}

void Requete::LierPosition(int position, const QVariant& valeur)
{
    Preparee();
    if (position < 0 || position >= int(valeurs.size()))
        throw ErreurBase(QStringLiteral("La requête n'a pas de paramètre en position %1.").arg(position).toStdString());
    ValeurParametre& cible = valeurs[std::size_t(position)];
    switch (valeur.typeId()) {
    case QMetaType::UnknownType:
        cible.genre = ValeurParametre::Genre::Nulle;
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        cible.genre = ValeurParametre::Genre::Entier;
        cible.entier = valeur.toLongLong();
        break;
    case QMetaType::Double:
        cible.genre = ValeurParametre::Genre::Decimal;
        cible.decimal = valeur.toDouble();
        break;
    default:
        cible.genre = ValeurParametre::Genre::Texte;
        EncoderUtf8(valeur.toString(), cible.utf8);
    }
}

void Requete::ViderParametres()
{
    for (ValeurParametre& valeur : valeurs)
        valeur.genre = ValeurParametre::Genre::Absente;
}

void Requete::VerifierLiees() const
{
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        if (valeurs[i].genre != ValeurParametre::Genre::Absente)
            continue;
        if (instruction->parametres[i].isEmpty())
            throw ErreurBase("Les paramètres d'une requête doivent être nommés (:Nom).");
        throw ErreurBase(QStringLiteral("Paramètre :%1 non renseigné").arg(instruction->parametres[i]).toStdString());
    }
}

template <class Action>
auto Requete::Lancer(Action action)
{
    Preparee();
    LierListes();
    VerifierLiees();
    Moteur& moteur = connexion.MoteurOuvert();
    if (connexion.EnTransaction()) {
        ++connexion.compteurs.instructions;
        return action(Preparee());
    }
    moteur.AvantInstructionIsolee();
    if (!moteur.GrouperEcrituresIsolees() || EstLecture(instruction->sql)) {
        ++connexion.compteurs.instructions;
        return action(Preparee());
    }
    // On a server a write of its own takes its turn with the groups of the
    // other workstations, as on the file; overtaken, it is run again.
    for (int essai = 1;; ++essai) {
        try {
            Transaction groupe(connexion);
            ++connexion.compteurs.instructions;
            auto resultat = action(Preparee());
            groupe.Valider();
            return resultat;
        } catch (const ErreurBase& erreur) {
            if (erreur.Raison() != ErreurBase::Cause::Conflit || essai == kEssaisEcriture)
                throw;
            QThread::msleep(10 * essai);
        }
    }
}

const Resultat& Requete::Ouvrir()
{
    // The rows of the previous run are overwritten, not freed: a query run
    // again and again keeps its storage (unless a caller holds a copy).
    try {
        Lancer([this](Instruction& preparee) {
            preparee.Ouvrir(valeurs, resultat.lignes);
            return 0;
        });
    } catch (...) {
        resultat.lignes.clear();
        throw;
    }
    return resultat;
}

int Requete::Executer()
{
    resultat.lignes.clear();
    return Lancer([this](Instruction& preparee) { return preparee.Executer(valeurs); });
}

void Requete::Fermer()
{
    resultat.lignes.clear();
}

// ---------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Connexion& connexion) : connexion(connexion)
{
    Moteur& moteur = connexion.MoteurOuvert();
    if (connexion.profondeurTransaction == 0) {
        ++connexion.compteurs.instructions;
        moteur.Commencer();
    } else {
        nomPoint = QStringLiteral("point_%1").arg(connexion.profondeurTransaction);
        connexion.ExecuterScript(QStringLiteral("SAVEPOINT ") + nomPoint);
    }
    generation = connexion.Generation();
    ++connexion.profondeurTransaction;
}

Transaction::~Transaction()
{
    if (termine)
        return;
    if (connexion.profondeurTransaction > 0)
        --connexion.profondeurTransaction;
    // A connection closed or made again meanwhile holds nothing of this group.
    if (!connexion.moteur || connexion.Generation() != generation)
        return;
    if (nomPoint.isEmpty()) {
        connexion.moteur->Annuler();
        return;
    }
    try {
        connexion.ExecuterScript(QStringLiteral("ROLLBACK TO SAVEPOINT %1; RELEASE SAVEPOINT %1").arg(nomPoint));
    } catch (const ErreurBase&) {
        // The outer group fails too and is rolled back whole.
    }
}

void Transaction::Valider()
{
    if (termine)
        throw ErreurBase("Transaction déjà terminée.");
    if (connexion.Generation() != generation)
        throw ErreurBase(QStringLiteral("La connexion à la base %1 a été perdue pendant l'enregistrement : "
                                        "rien n'a été enregistré. Réessayez.")
                             .arg(connexion.Designation()),
                         ErreurBase::Cause::ConnexionPerdue, QString());
    // When COMMIT fails (a reader still holds the file after the wait) the
    // transaction stays open and the destructor rolls it back.
    if (nomPoint.isEmpty()) {
        ++connexion.compteurs.instructions;
        connexion.MoteurOuvert().Valider();
    } else {
        connexion.ExecuterScript(QStringLiteral("RELEASE SAVEPOINT ") + nomPoint);
    }
    termine = true;
    --connexion.profondeurTransaction;
}
