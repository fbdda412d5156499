#include "model/Echange.h"

#include "model/Encodage.h"
#include "model/Formats.h"
#include "model/FragmentXml.h"
#include "model/RemplacerFichier.h"
#include "model/Systeme.h"
#include "model/Xml.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QtMath>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

const QString kDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>");

constexpr int kQuantiteMaximale = std::numeric_limits<int>::max();

// ` prix="1e308"` as a message shows it: a value of a thousand digits is cut.
QString AttributCite(QStringView attribut, QStringView valeur)
{
    constexpr qsizetype kLongueurCitee = 40;
    const QString cite = valeur.size() > kLongueurCitee ? valeur.left(kLongueurCitee).toString() + u'…' : valeur.toString();
    return QStringLiteral("%1=\"%2\"").arg(attribut, cite);
}

QString MontantMaximalEcrit()
{
    return QLocale(QLocale::French).toString(static_cast<qint64>(kMontantMaximal));
}

// Digits, with a sign or blanks around them: a whole number, whatever its size.
bool EstNombreEntier(QStringView texte)
{
    texte = texte.trimmed();
    if (texte.startsWith(u'-') || texte.startsWith(u'+'))
        texte = texte.mid(1);
    return !texte.isEmpty() && std::all_of(texte.begin(), texte.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The attributes of one element read in the order this program writes them.
// Each name asked for is first compared with the attribute after the one
// found last. The names asked for being all different, while every one was
// found there the attribute found is also the first of its name, which a
// search by name would give.
class LectureEnOrdre
{
public:
    explicit LectureEnOrdre(const TXmlNode& noeud) : noeud(noeud) {}
    const TXmlNode& Noeud() const { return noeud; }

    // The value when the next attribute has that name; nothing otherwise
    // (the caller then searches by name).
    std::optional<QStringView> Suivant(QStringView nom, QString& tampon)
    {
        if (enOrdre && suivant < noeud.AttributeCount() && noeud.AttributeIs(suivant, nom))
            return noeud.AttributeView(suivant++, tampon);
        enOrdre = false;
        return std::nullopt;
    }

private:
    const TXmlNode& noeud;
    int suivant = 0;
    bool enOrdre = true;
};

class LecteurDevis
{
public:
    LecteurDevis(const TXmlDocument& document, const QString& nomFichier)
        : racine(*document.GetRoot()), nomFichier(nomFichier)
    {
    }

    DevisEchange Lire();

private:
    const TXmlNode& racine;
    const QString& nomFichier;
    const TXmlNode* menuiseries = nullptr;
    const FormeNombres nombres;
    mutable QString tampon; // the value of an attribute holding entity references
    // The short values read so far, each held once: hardware names, codes
    // and labels repeat over the items of a quote, and every item sharing
    // one copy keeps a large quote small. Keys view their own values.
    mutable QHash<QStringView, QString> valeursCourtes;

    const TXmlNode* PremierHorsMenuiseries(QStringView nom) const;
    QString Texte(const TXmlNode& noeud, QStringView attribut) const;
    double Decimal(const TXmlNode& noeud, QStringView attribut) const;
    bool Drapeau(const TXmlNode& noeud, QStringView attribut) const;
    QString Texte(LectureEnOrdre& lecture, QStringView attribut) const;
    double Decimal(LectureEnOrdre& lecture, QStringView attribut) const;
    bool Drapeau(LectureEnOrdre& lecture, QStringView attribut) const;
    QString Partage(QStringView valeur) const;
    double Montant(const TXmlNode& noeud, QStringView attribut, QStringView valeur) const;
    int Quantite(const TXmlNode& noeud, QStringView attribut, const QString& valeur) const;
    [[noreturn]] void Refuser(const TXmlNode& noeud, const QString& probleme) const;
    int TypeTva(const TXmlNode& tva) const;
    void LireTva(const TXmlNode& noeud, TTva& tva) const;
    void LirePoseGlobale(DevisEchange& devis) const;
    void LireQuincailleries(const TXmlNode& liste, TQuincailleries& quincailleries) const;
    std::unique_ptr<TMenuiserie> LireMenuiserie(const TXmlNode& noeud) const;
    void LireProprietes(const TXmlNode& noeud, TMenuiserie& menuiserie) const;
    std::unique_ptr<TTarif> LireTarif(const TXmlNode& noeud) const;
};

const TXmlNode* PremierDans(const TXmlNode& noeud, QStringView nom, const TXmlNode* exclu)
{
    for (const TXmlNode* enfant = noeud.FirstChild(); enfant; enfant = enfant->NextSibling()) {
        if (enfant == exclu || enfant->GetType() != TXmlNodeType::Element)
            continue;
        if (enfant->GetName().size() == nom.size() && enfant->GetName().compare(nom, Qt::CaseInsensitive) == 0)
            return enfant;
        if (const TXmlNode* trouve = PremierDans(*enfant, nom, exclu))
            return trouve;
    }
    return nullptr;
}

// The quote-wide elements are searched in the whole document except the
// items: a file whose quote-wide kind is missing or placed after the items
// must not lend an item's kind, VAT or options to the whole quote.
const TXmlNode* LecteurDevis::PremierHorsMenuiseries(QStringView nom) const
{
    return PremierDans(racine, nom, menuiseries);
}

// The text of a value that is there (empty, not null, when it is empty).
QString LecteurDevis::Partage(QStringView valeur) const
{
    constexpr qsizetype kLongueurPartagee = 64;
    if (valeur.isEmpty())
        return QString(QLatin1String(""));
    if (valeur.size() > kLongueurPartagee)
        return valeur.toString();
    if (const auto connue = valeursCourtes.constFind(valeur); connue != valeursCourtes.cend())
        return *connue;
    const QString texte = valeur.toString();
    valeursCourtes.insert(QStringView(texte), texte);
    return texte;
}

QString LecteurDevis::Texte(const TXmlNode& noeud, QStringView attribut) const
{
    const QStringView valeur = noeud.GetAttributeView(attribut, tampon);
    // Missing and empty values keep their difference (null or empty text).
    if (valeur.isEmpty())
        return noeud.GetAttributeByName(attribut);
    return Partage(valeur);
}

double LecteurDevis::Decimal(const TXmlNode& noeud, QStringView attribut) const
{
    return Montant(noeud, attribut, noeud.GetAttributeView(attribut, tampon));
}

bool LecteurDevis::Drapeau(const TXmlNode& noeud, QStringView attribut) const
{
    return noeud.GetAttributeView(attribut, tampon) == u"1";
}

QString LecteurDevis::Texte(LectureEnOrdre& lecture, QStringView attribut) const
{
    if (const auto valeur = lecture.Suivant(attribut, tampon))
        return Partage(*valeur);
    return Texte(lecture.Noeud(), attribut);
}

double LecteurDevis::Decimal(LectureEnOrdre& lecture, QStringView attribut) const
{
    if (const auto valeur = lecture.Suivant(attribut, tampon))
        return Montant(lecture.Noeud(), attribut, *valeur);
    return Decimal(lecture.Noeud(), attribut);
}

bool LecteurDevis::Drapeau(LectureEnOrdre& lecture, QStringView attribut) const
{
    if (const auto valeur = lecture.Suivant(attribut, tampon))
        return *valeur == u"1";
    return Drapeau(lecture.Noeud(), attribut);
}

void LecteurDevis::Refuser(const TXmlNode& noeud, const QString& probleme) const
{
    throw ErreurEchange(QStringLiteral("Le fichier de récupération « %1 » ne peut pas être lu : %2 (élément <%3>, ligne %4).")
                            .arg(nomFichier, probleme, noeud.GetName())
                            .arg(noeud.GetLine()));
}

// An amount, rate or quantity: a text that is no number reads 0, as the host
// has always had it; a number out of range refuses the file, since every
// total it enters would mean nothing.
double LecteurDevis::Montant(const TXmlNode& noeud, QStringView attribut, QStringView valeur) const
{
    const auto montant = nombres.LireSansLimite(valeur);
    if (!montant)
        return 0.0;
    if (!MontantAdmissible(*montant))
        Refuser(noeud, QStringLiteral("la valeur %1 est hors des limites admises (un montant ou une quantité "
                                      "doit rester en dessous de %2 en valeur absolue)")
                           .arg(AttributCite(attribut, valeur), MontantMaximalEcrit()));
    return *montant;
}

// A whole quantity: a text that is no whole number reads 0; a whole number
// too large to count refuses the file rather than silently read 0.
int LecteurDevis::Quantite(const TXmlNode& noeud, QStringView attribut, const QString& valeur) const
{
    if (const auto quantite = LireEntier(valeur))
        return *quantite;
    if (EstNombreEntier(valeur))
        Refuser(noeud, QStringLiteral("la quantité %1 dépasse le plus grand nombre admis (%2)")
                           .arg(AttributCite(attribut, valeur), QLocale(QLocale::French).toString(kQuantiteMaximale)));
    return 0;
}

int LecteurDevis::TypeTva(const TXmlNode& tva) const
{
    const QString texte = Texte(tva, u"type_tva");
    if (const auto type = LireEntier(texte))
        return *type;
    Refuser(tva, tva.HasAttribute(u"type_tva")
                     ? QStringLiteral("le type de TVA « %1 » n'est pas un nombre entier").arg(texte)
                     : QStringLiteral("le type de TVA (attribut type_tva) manque"));
}

void LecteurDevis::LireTva(const TXmlNode& noeud, TTva& tva) const
{
    tva.SetTypeTva(TypeTva(noeud));
    tva.SetLibelle(Texte(noeud, u"libelle"));
    tva.SetValeur(Decimal(noeud, u"valeur"));
}

void LecteurDevis::LirePoseGlobale(DevisEchange& devis) const
{
    const TXmlNode* pose = PremierHorsMenuiseries(u"pose");
    devis.aPose = pose != nullptr;
    if (!pose)
        return;
    TPoseLivraison& globale = devis.poseGlobale;
    globale.SetId(Texte(*pose, u"id"));
    globale.SetLibelle(Texte(*pose, u"libelle"));
    globale.SetCodeExport(Texte(*pose, u"code_export"));
    if (const TXmlNode* tva = PremierHorsMenuiseries(u"tva"))
        LireTva(*tva, globale.GetTva());
    for (const auto option : TPoseLivraison::kOptions) {
        const TXmlNode* noeud = PremierHorsMenuiseries(TPoseLivraison::NomElement(option));
        if (!noeud)
            continue;
        devis.aOption[option] = true;
        globale.SetChoix(option, Drapeau(*noeud, u"choix"));
        globale.SetPrix(option, Decimal(*noeud, u"prix"));
        globale.SetCodeExportOption(option, Texte(*noeud, u"code_export"));
    }
}

void LecteurDevis::LireQuincailleries(const TXmlNode& liste, TQuincailleries& quincailleries) const
{
    TXmlNodeList entrees;
    liste.NodesByName(u"quincaillerie", entrees);
    quincailleries.Reserver(quincailleries.Nombre() + entrees.Count());
    for (const TXmlNode* noeud : entrees) {
        TQuincaillerie& entree = quincailleries.Ajouter();
        // Every name below once, in the order the answer writes them.
        LectureEnOrdre attributs(*noeud);
        entree.SetId(Texte(attributs, u"id"));
        entree.SetLibelle(Texte(attributs, u"libelle"));
        entree.SetLibelle2(Texte(attributs, u"libelle2"));
        entree.SetTarifVente(Decimal(attributs, u"tarif_vente"));
        entree.SetTarifAchat(Decimal(attributs, u"tarif_achat"));
        entree.SetNbPieces(Decimal(attributs, u"nb_pieces"));
        entree.SetNbPiecesMl(Decimal(attributs, u"nb_pieces_ml"));
        entree.SetQuantite(Decimal(attributs, u"quantite"));
        entree.SetSecable(Drapeau(attributs, u"secable") ? 1 : 0);
        entree.SetCodeExport(Texte(attributs, u"code_export"));
    }
}

void LecteurDevis::LireProprietes(const TXmlNode& noeud, TMenuiserie& menuiserie) const
{
    TXmlNodeList proprietes;
    noeud.NodesByName(u"propriete", proprietes);
    for (const TXmlNode* propriete : proprietes) {
        const QString id = Texte(*propriete, u"id");
        const QString valeur = Texte(*propriete, u"valeur");
        menuiserie.GetProprietes().Ajouter(id, valeur);
        // Only the name written in capitals gives an item without a quantity its quantity.
        if (id == u"QUANTITE" && menuiserie.GetQuantite() < 1)
            menuiserie.SetQuantite(Quantite(*propriete, u"valeur", valeur));
    }
}

std::unique_ptr<TTarif> LecteurDevis::LireTarif(const TXmlNode& noeud) const
{
    auto ligne = std::make_unique<TTarif>();
    ligne->SetId(Texte(noeud, u"id"));
    ligne->SetLibelle(Texte(noeud, u"libelle"));
    ligne->SetPrix(Decimal(noeud, u"prix"));
    ligne->SetQuincaillerieIncluse(Drapeau(noeud, u"quincaillerie_incluse"));
    ligne->SetCodeExport(Texte(noeud, u"code_export"));
    if (const TXmlNode* poseur = noeud.FindNode(u"poseur")) {
        ligne->SetPoseurId(Texte(*poseur, u"id"));
        ligne->SetPoseurNom(Texte(*poseur, u"nom"));
        ligne->SetPoseurPrix(Decimal(*poseur, u"prix"));
        ligne->SetPoseurSiret(Texte(*poseur, u"siret"));
        ligne->SetPoseurRge(Texte(*poseur, u"rge"));
    }
    if (const TXmlNode* tva = noeud.FindNode(u"tva"))
        LireTva(*tva, ligne->GetTva());
    if (const TXmlNode* quincailleries = noeud.FindNode(u"quincailleries"))
        LireQuincailleries(*quincailleries, ligne->GetQuincailleries());
    return ligne;
}

std::unique_ptr<TMenuiserie> LecteurDevis::LireMenuiserie(const TXmlNode& noeud) const
{
    auto menuiserie = std::make_unique<TMenuiserie>();
    menuiserie->SetCode(Texte(noeud, u"code"));
    menuiserie->SetLibelle(Texte(noeud, u"libelle"));
    menuiserie->SetDescription(Texte(noeud, u"description"));
    menuiserie->SetQuantite(Quantite(noeud, u"quantite", Texte(noeud, u"quantite")));
    if (const TXmlNode* pose = noeud.FindNode(u"pose")) {
        TPose& sienne = menuiserie->GetPose();
        sienne.SetId(Texte(*pose, u"id"));
        sienne.SetLibelle(Texte(*pose, u"libelle"));
        sienne.SetCodeExport(Texte(*pose, u"code_export"));
        if (const TXmlNode* tva = pose->FindNode(u"tva"))
            LireTva(*tva, sienne.GetTva());
    }
    if (const TXmlNode* proprietes = noeud.FindNode(u"proprietes"))
        LireProprietes(*proprietes, *menuiserie);
    if (const TXmlNode* tarifs = noeud.FindNode(u"tarifs")) {
        TXmlNodeList lignes;
        tarifs->NodesByName(u"tarif", lignes);
        for (const TXmlNode* ligne : lignes)
            menuiserie->GetTarifs().Ajouter(LireTarif(*ligne));
    }
    return menuiserie;
}

DevisEchange LecteurDevis::Lire()
{
    DevisEchange devis;
    menuiseries = racine.FindNode(u"menuiseries");
    LirePoseGlobale(devis);
    if (const TXmlNode* cotes = PremierHorsMenuiseries(u"cotes")) {
        devis.aCotes = true;
        devis.cotes = Drapeau(*cotes, u"choix");
    }
    if (const TXmlNode* global = PremierHorsMenuiseries(u"global")) {
        devis.aGlobal = true;
        if (const TXmlNode* quincailleries = global->FindNode(u"quincailleries"))
            LireQuincailleries(*quincailleries, devis.quincailleriesGlobales);
    }
    if (menuiseries) {
        TXmlNodeList items;
        menuiseries->NodesByName(u"menuiserie", items);
        devis.menuiseries.Reserver(items.Count());
        for (const TXmlNode* item : items)
            devis.menuiseries.Ajouter(LireMenuiserie(*item));
    }
    return devis;
}

} // namespace

ErreurEchange::ErreurEchange(const QString& message) : std::runtime_error(message.toStdString()) {}

DevisEchange LireDevis(const TXmlDocument& document, const QString& nomFichier)
{
    return LecteurDevis(document, nomFichier).Lire();
}

std::optional<QString> ObstacleLecture(const QString& chemin, qint64 tailleMaximale)
{
    const Systeme::Nature nature = Systeme::NatureDe(chemin);
    switch (nature.genre) {
    case Systeme::Nature::Absent:
        return QStringLiteral("n'existe pas");
    case Systeme::Nature::Inaccessible:
        return QStringLiteral("n'est pas accessible (%1)").arg(nature.raison);
    case Systeme::Nature::Dossier:
        return QStringLiteral("est un dossier, pas un fichier");
    case Systeme::Nature::Tube:
        return QStringLiteral("est un tube nommé, pas un fichier ordinaire");
    case Systeme::Nature::Autre:
        return QStringLiteral("n'est pas un fichier ordinaire");
    case Systeme::Nature::Ordinaire:
        break;
    }
    if (tailleMaximale > 0 && nature.taille > tailleMaximale) {
        const auto mo = [](qint64 octets) { return QLocale(QLocale::French).toString(qCeil(double(octets) / (1024 * 1024))); };
        return QStringLiteral("est trop volumineux pour être chiffré (%1 Mo, pour %2 Mo au plus)")
            .arg(mo(nature.taille), mo(tailleMaximale));
    }
    return std::nullopt;
}

DevisEchange LireEchange(const QString& fichierEchange, const QString& prefixeHorodate)
{
    const QString nom = QDir::toNativeSeparators(fichierEchange);
    if (const auto obstacle = ObstacleLecture(fichierEchange, kTailleEchangeMaximale))
        throw ErreurEchange(QStringLiteral("Le fichier de récupération « %1 » %2.").arg(nom, *obstacle));
    TXmlDocument document;
    document.LoadFromFile(fichierEchange);
    QString erreurArchive;
    try {
        document.SaveToFile(prefixeHorodate + QStringLiteral(".entree.xml"));
    } catch (const std::exception& erreur) {
        erreurArchive = QString::fromUtf8(erreur.what());
    }
    DevisEchange devis = LireDevis(document, nom);
    devis.erreurArchive = erreurArchive;
    return devis;
}

QByteArray ContenuEchange(const TPoseLivraison& poseGlobale, bool priseDeCote, const TQuincailleries& globales,
                          const TMenuiseries& menuiseries)
{
    // The compact form the XML layer gives a parsed document: the
    // declaration and the root element, each followed by a line feed.
    SortieXml sortie(SortieXml::Forme::Compacte);
    sortie.Reserver(4096 + 4096 * qsizetype(menuiseries.Nombre()));
    sortie.Brut(kDeclaration);
    sortie.Brut(u"\n");
    sortie.Debut(u"Quarlo");
    sortie.FinDebut();
    poseGlobale.EcrireXml(sortie);
    sortie.Debut(u"cotes");
    sortie.AttributDrapeau(u"choix", priseDeCote);
    sortie.FinVide();
    sortie.Debut(u"global");
    sortie.FinDebut();
    globales.EcrireXml(sortie);
    sortie.Fin(u"global");
    menuiseries.EcrireXml(sortie);
    sortie.Fin(u"Quarlo");
    sortie.Brut(u"\n");
    return EncoderCp1252(sortie.Texte());
}

QString EcrireEchange(const TPoseLivraison& poseGlobale, bool priseDeCote, const TQuincailleries& globales,
                      const TMenuiseries& menuiseries, const QString& fichierEchange, const QString& prefixeHorodate)
{
    const QByteArray octets = ContenuEchange(poseGlobale, priseDeCote, globales, menuiseries);
    const auto echec = [](const QString& fichier, const QString& raison) {
        return QStringLiteral("Impossible d'écrire le fichier « %1 » : %2").arg(QDir::toNativeSeparators(fichier), raison);
    };
    if (const auto raison = RemplacerFichier(fichierEchange, octets))
        throw ErreurXml(echec(fichierEchange, *raison));
    const QString archive = prefixeHorodate + QStringLiteral(".sortie.xml");
    if (const auto raison = RemplacerFichier(archive, octets))
        return echec(archive, *raison);
    return QString();
}
