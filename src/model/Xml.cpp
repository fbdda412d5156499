#include "model/Xml.h"

#include "model/Encodage.h"
#include "model/Noms.h"
#include "model/RemplacerFichier.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <optional>

namespace {

const QString kPasDeRacine = QStringLiteral("No root element found in xml");

// Deeper nesting is refused rather than risk exhausting the stack of the
// recursive walks (an exchange file nests seven levels).
constexpr int kProfondeurMax = 1000;

bool EstBlanc(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool QueDesBlancs(QStringView texte)
{
    for (const QChar c : texte)
        if (!EstBlanc(c))
            return false;
    return true;
}

// What an ASCII character may be in a name: 1 its first character, 2 one
// of the others. Any character beyond ASCII but a blank may be both.
constexpr std::array<unsigned char, 128> kCaracteresNom = [] {
    std::array<unsigned char, 128> table{};
    for (int c = 0; c < 128; ++c) {
        const bool debut = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
        const bool suite = debut || (c >= '0' && c <= '9') || c == '-' || c == '.';
        table[std::size_t(c)] = (debut ? 1 : 0) | (suite ? 2 : 0);
    }
    return table;
}();

bool CaractereNom(QChar c, unsigned char genre)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? (kCaracteresNom[u] & genre) != 0 : !c.isSpace();
}

bool DebutNom(QChar c)
{
    return CaractereNom(c, 1);
}

bool SuiteNom(QChar c)
{
    return CaractereNom(c, 2);
}

bool ContientEsperluette(QStringView texte)
{
    return std::find(texte.begin(), texte.end(), u'&') != texte.end();
}

int ValeurChiffre(QChar c, int base)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (base == 16 && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (base == 16 && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The character of a numeric reference: the code page's character for codes
// 0..254 (so 128 is the euro sign, as in the host's 8-bit texts).
std::optional<QChar> CaractereNumerique(QStringView chiffres, int base)
{
    if (chiffres.isEmpty())
        return std::nullopt;
    int code = 0;
    for (const QChar c : chiffres) {
        const int chiffre = ValeurChiffre(c, base);
        if (chiffre < 0)
            return std::nullopt;
        code = code * base + chiffre;
        if (code > 254)
            return std::nullopt;
    }
    return DecoderCp1252(QByteArray(1, static_cast<char>(code))).at(0);
}

std::optional<QChar> CaractereReference(QStringView reference)
{
    if (reference == u"amp")
        return QChar(u'&');
    if (reference == u"lt")
        return QChar(u'<');
    if (reference == u"gt")
        return QChar(u'>');
    if (reference == u"apos")
        return QChar(u'\'');
    if (reference == u"quot")
        return QChar(u'"');
    if (!reference.startsWith(u'#'))
        return std::nullopt;
    if (reference.size() > 1 && (reference[1] == u'x' || reference[1] == u'X'))
        return CaractereNumerique(reference.mid(2), 16);
    return CaractereNumerique(reference.mid(1), 10);
}

// Left to right, each "&" up to the next ";". Unknown references are copied
// unchanged; an "&" without a ";" after it leaves the rest unchanged.
void ResoudreEntites(QStringView valeur, QString& resultat)
{
    resultat.clear();
    resultat.reserve(valeur.size());
    qsizetype position = 0;
    for (;;) {
        const qsizetype esperluette = valeur.indexOf(u'&', position);
        if (esperluette < 0) {
            resultat += valeur.mid(position);
            return;
        }
        resultat += valeur.mid(position, esperluette - position);
        const qsizetype pointVirgule = valeur.indexOf(u';', esperluette + 1);
        if (pointVirgule < 0) {
            resultat += valeur.mid(esperluette);
            return;
        }
        const QStringView reference = valeur.mid(esperluette + 1, pointVirgule - esperluette - 1);
        if (const auto caractere = CaractereReference(reference))
            resultat += *caractere;
        else
            resultat += valeur.mid(esperluette, pointVirgule - esperluette + 1);
        position = pointVirgule + 1;
    }
}

// The written value without its surrounding quotes.
QStringView SansGuillemets(QStringView ecrit)
{
    const bool entreGuillemets =
        ecrit.size() >= 2 && (ecrit.front() == u'"' || ecrit.front() == u'\'') && ecrit.back() == ecrit.front();
    return entreGuillemets ? ecrit.mid(1, ecrit.size() - 2) : ecrit;
}

// An attribute's value from its written form: a view of it when it holds no
// entity reference, else of `buffer`, which receives the resolved text.
QStringView VueValeur(QStringView ecrit, QString& buffer)
{
    const QStringView valeur = SansGuillemets(ecrit);
    if (!ContientEsperluette(valeur))
        return valeur;
    ResoudreEntites(valeur, buffer);
    return buffer;
}

QString DecoderUtf8(QByteArrayView octets)
{
    QStringDecoder decodeur(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString texte = decodeur.decode(octets);
    if (decodeur.hasError()) {
        const qsizetype position = std::max<qsizetype>(0, texte.indexOf(QChar::ReplacementCharacter));
        const int ligne = static_cast<int>(QStringView(texte).left(position).count(u'\n')) + 1;
        throw ErreurXml(QStringLiteral("le texte déclaré en UTF-8 contient des octets qui ne sont pas de l'UTF-8, ligne %1.")
                            .arg(ligne),
                        ligne);
    }
    if (texte.startsWith(QChar(0xFEFF)))
        texte.remove(0, 1);
    return texte;
}

// The name of the Unicode form of bytes in UTF-16 or UTF-32, with or without
// a byte-order mark; "" for any other bytes. Without a mark, the first
// character ("<" or a blank, which ASCII and UTF-8 never write with a zero
// byte) gives the form away by its zero bytes.
QString FormeUnicodeLarge(const QByteArray& octets)
{
    const auto debut = [&octets](const char* motif, qsizetype taille) {
        return octets.size() >= taille && std::memcmp(octets.constData(), motif, size_t(taille)) == 0;
    };
    if (debut("\xFF\xFE\0\0", 4))
        return QStringLiteral("UTF-32 (petit-boutiste, avec marque d'ordre des octets)");
    if (debut("\0\0\xFE\xFF", 4))
        return QStringLiteral("UTF-32 (gros-boutiste, avec marque d'ordre des octets)");
    if (debut("\xFF\xFE", 2))
        return QStringLiteral("UTF-16 (petit-boutiste, avec marque d'ordre des octets)");
    if (debut("\xFE\xFF", 2))
        return QStringLiteral("UTF-16 (gros-boutiste, avec marque d'ordre des octets)");
    const auto nul = [&octets](qsizetype i) { return i < octets.size() && octets[i] == '\0'; };
    if (octets.size() < 2)
        return QString();
    if (!nul(0) && nul(1) && nul(2) && nul(3))
        return QStringLiteral("UTF-32 (petit-boutiste)");
    if (nul(0) && nul(1) && nul(2) && !nul(3))
        return QStringLiteral("UTF-32 (gros-boutiste)");
    if (!nul(0) && nul(1))
        return QStringLiteral("UTF-16 (petit-boutiste)");
    if (nul(0) && !nul(1))
        return QStringLiteral("UTF-16 (gros-boutiste)");
    return QString();
}

} // namespace

// Where the nodes and attributes of a document live: blocks that never move,
// so the tree links plain pointers and nothing is freed node by node.
class TXmlDocument::Stock
{
public:
    // The text to parse; `luEnCp1252` when it was decoded from Windows-1252
    // bytes (one byte per character, which encoding gives back).
    explicit Stock(QString texte = QString(), bool luEnCp1252 = false)
        : source(std::move(texte)), cp1252(luEnCp1252)
    {
    }

    // The parsed text, which the nodes' names and values view.
    QStringView Source() const { return source; }
    bool LuEnCp1252() const { return cp1252; }
    TXmlNode& Noeud(TXmlNodeType type, QStringView nom, qsizetype position = -1);
    // The attributes of one tag, side by side.
    const TXmlNode::Attribute* Attributs(const std::vector<TXmlNode::Attribute>& liste);
    // A text that views of a node built in memory may point into.
    QStringView Garder(const QString& texte);

private:
    static constexpr std::size_t kBloc = 256;
    QString source;
    bool cp1252;
    std::vector<std::unique_ptr<TXmlNode[]>> blocsNoeuds;
    std::size_t noeudsLibres = 0;
    std::vector<std::unique_ptr<TXmlNode::Attribute[]>> blocsAttributs;
    TXmlNode::Attribute* prochainAttribut = nullptr;
    std::size_t attributsLibres = 0;
    std::vector<QString> textes;
};

TXmlNode& TXmlDocument::Stock::Noeud(TXmlNodeType type, QStringView nom, qsizetype position)
{
    if (noeudsLibres == 0) {
        blocsNoeuds.emplace_back(new TXmlNode[kBloc]);
        noeudsLibres = kBloc;
    }
    TXmlNode& noeud = blocsNoeuds.back()[kBloc - noeudsLibres--];
    noeud.type = type;
    noeud.name = nom;
    if (position >= 0) {
        noeud.debutTexte = source.constData();
        noeud.position = static_cast<int>(position);
    }
    return noeud;
}

const TXmlNode::Attribute* TXmlDocument::Stock::Attributs(const std::vector<TXmlNode::Attribute>& liste)
{
    if (liste.empty())
        return nullptr;
    if (liste.size() > attributsLibres) {
        attributsLibres = std::max(liste.size(), 4 * kBloc);
        blocsAttributs.emplace_back(new TXmlNode::Attribute[attributsLibres]);
        prochainAttribut = blocsAttributs.back().get();
    }
    TXmlNode::Attribute* premier = std::copy(liste.begin(), liste.end(), prochainAttribut) - liste.size();
    prochainAttribut += liste.size();
    attributsLibres -= liste.size();
    return premier;
}

QStringView TXmlDocument::Stock::Garder(const QString& texte)
{
    // A moved QString keeps its characters where they are: the views stay valid.
    textes.push_back(texte);
    return textes.back();
}

// The parser: one pass over the text; nodes get views of it, never copies.
class TXmlDocument::Analyseur
{
public:
    explicit Analyseur(Stock& stock) : stock(stock), texte(stock.Source()) {}

    // The top-level nodes.
    std::vector<TXmlNode*> Analyser(TXmlNode*& racine);
    // The encoding named by a declaration at the very start; "" when none.
    QString EncodageDeclare();

private:
    Stock& stock;
    QStringView texte;
    qsizetype pos = 0;
    qsizetype posLigne = 0;
    int ligne = 1;
    std::vector<TXmlNode::Attribute> attributs; // those of the tag being read

    TXmlNode& Noeud(TXmlNodeType type, QStringView nom, qsizetype debut);
    int Ligne(qsizetype position);
    [[noreturn]] void Erreur(const QString& quoi, qsizetype position);
    [[noreturn]] void Erreur(const QString& quoi) { Erreur(quoi, pos); }
    bool Fin() const { return pos >= texte.size(); }
    QChar Courant() const { return texte[pos]; }
    template <qsizetype N>
    bool Commence(const char16_t (&motif)[N]) const
    {
        if (pos + N - 1 > texte.size())
            return false;
        for (qsizetype i = 0; i < N - 1; ++i)
            if (texte[pos + i] != motif[i])
                return false;
        return true;
    }
    bool SauterBlancs();
    qsizetype Chercher(QStringView fin, const QString& quoi, qsizetype debut);
    // `quoi` names what is expected, for the message: "nom d'attribut dans <%1>".
    QStringView LireNom(const char16_t* quoi, QStringView balise = {});
    void LireAttribut(QStringView balise);
    void GarderAttributs(TXmlNode& noeud);
    TXmlNode& LireInstruction();
    TXmlNode& LireDelimite(TXmlNodeType type, QStringView debut, QStringView fin, const QString& quoi);
    TXmlNode& LireDocType();
    TXmlNode& LireElement();
    TXmlNode& LireBaliseOuvrante(bool& vide);
    void LireBaliseFermante(const TXmlNode& ouvert);
    void LireTexte(TXmlNode& element);
};

TXmlNode& TXmlDocument::Analyseur::Noeud(TXmlNodeType type, QStringView nom, qsizetype debut)
{
    return stock.Noeud(type, nom, debut);
}

int TXmlDocument::Analyseur::Ligne(qsizetype position)
{
    if (position < posLigne) {
        posLigne = 0;
        ligne = 1;
    }
    for (; posLigne < position; ++posLigne)
        ligne += texte[posLigne] == u'\n';
    return ligne;
}

void TXmlDocument::Analyseur::Erreur(const QString& quoi, qsizetype position)
{
    const int numero = Ligne(std::min(position, texte.size()));
    throw ErreurXml(QStringLiteral("XML mal formé, ligne %1 : %2.").arg(numero).arg(quoi), numero);
}

bool TXmlDocument::Analyseur::SauterBlancs()
{
    // A local position: the loop keeps it in a register.
    const QChar* caracteres = texte.data();
    const qsizetype taille = texte.size();
    qsizetype suivant = pos;
    while (suivant < taille && EstBlanc(caracteres[suivant]))
        ++suivant;
    const bool saute = suivant > pos;
    pos = suivant;
    return saute;
}

// The position of the next `fin` from the current position; an error naming
// what is left open when there is none.
qsizetype TXmlDocument::Analyseur::Chercher(QStringView fin, const QString& quoi, qsizetype debut)
{
    const qsizetype trouve = texte.indexOf(fin, pos);
    if (trouve < 0)
        Erreur(QStringLiteral("%1 n'est pas terminé (« %2 » manquant)").arg(quoi, fin.toString()), debut);
    return trouve;
}

QStringView TXmlDocument::Analyseur::LireNom(const char16_t* quoi, QStringView balise)
{
    const qsizetype debut = pos;
    if (Fin() || !DebutNom(Courant())) {
        QString attendu = QString::fromUtf16(quoi);
        if (!balise.isNull())
            attendu = attendu.arg(balise);
        Erreur(Fin() ? QStringLiteral("fin du texte au lieu du %1").arg(attendu)
                     : QStringLiteral("« %1 » au lieu du %2").arg(Courant()).arg(attendu));
    }
    const QChar* caracteres = texte.data();
    const qsizetype taille = texte.size();
    qsizetype suivant = pos + 1;
    while (suivant < taille && SuiteNom(caracteres[suivant]))
        ++suivant;
    pos = suivant;
    return QStringView(caracteres + debut, pos - debut);
}

void TXmlDocument::Analyseur::LireAttribut(QStringView balise)
{
    const QStringView nom = LireNom(u"nom d'attribut dans <%1>", balise);
    SauterBlancs();
    if (Fin() || Courant() != u'=')
        Erreur(QStringLiteral("« = » attendu après l'attribut %1 de <%2>").arg(nom, balise));
    ++pos;
    SauterBlancs();
    if (Fin() || (Courant() != u'"' && Courant() != u'\''))
        Erreur(QStringLiteral("la valeur de l'attribut %1 de <%2> doit être entre guillemets").arg(nom, balise));
    const qsizetype debut = pos;
    const QChar guillemet = Courant();
    // Values are short: a plain loop beats a library search here.
    const QChar* caracteres = texte.data();
    qsizetype fin = pos + 1;
    while (fin < texte.size() && caracteres[fin] != guillemet)
        ++fin;
    if (fin == texte.size())
        Erreur(QStringLiteral("la valeur de l'attribut %1 de <%2> n'est pas terminée").arg(nom, balise), debut);
    pos = fin + 1;
    if (debut - (nom.utf16() - texte.utf16()) > TXmlNode::Attribute::kEcartMax)
        Erreur(QStringLiteral("le nom de l'attribut %1 de <%2>, ou les blancs qui le suivent, sont trop longs")
                   .arg(nom.left(40), balise),
               debut);
    attributs.push_back({nom, texte.mid(debut, pos - debut)});
}

void TXmlDocument::Analyseur::GarderAttributs(TXmlNode& noeud)
{
    noeud.attributs = stock.Attributs(attributs);
    noeud.nombreAttributs = static_cast<int>(attributs.size());
    attributs.clear();
}

TXmlNode& TXmlDocument::Analyseur::LireInstruction()
{
    const qsizetype debut = pos;
    pos += 2;
    const QStringView cible = LireNom(u"nom d'instruction après « <? »");
    if (cible == u"xml") {
        TXmlNode& declaration = Noeud(TXmlNodeType::Declaration, cible, debut);
        for (;;) {
            const bool blanc = SauterBlancs();
            if (Fin())
                Erreur(QStringLiteral("la déclaration XML n'est pas terminée"), debut);
            if (Commence(u"?>")) {
                pos += 2;
                GarderAttributs(declaration);
                return declaration;
            }
            if (!blanc)
                Erreur(QStringLiteral("caractère « %1 » inattendu dans la déclaration XML").arg(Courant()));
            LireAttribut(u"?xml");
        }
    }
    TXmlNode& instruction = Noeud(TXmlNodeType::ProcessingInstruction, cible, debut);
    const qsizetype fin = Chercher(u"?>", QStringLiteral("l'instruction <?%1").arg(cible), debut);
    SauterBlancs();
    instruction.value = texte.mid(std::min(pos, fin), std::max<qsizetype>(0, fin - pos)).toString();
    pos = fin + 2;
    return instruction;
}

TXmlNode& TXmlDocument::Analyseur::LireDelimite(TXmlNodeType type, QStringView ouverture, QStringView fermeture,
                                                const QString& quoi)
{
    const qsizetype debut = pos;
    pos += ouverture.size();
    const qsizetype fin = Chercher(fermeture, quoi, debut);
    TXmlNode& noeud = Noeud(type, {}, debut);
    noeud.value = texte.mid(pos, fin - pos).toString();
    pos = fin + fermeture.size();
    return noeud;
}

TXmlNode& TXmlDocument::Analyseur::LireDocType()
{
    const qsizetype debut = pos;
    pos += 9; // <!DOCTYPE
    int crochets = 0;
    QChar guillemet;
    for (; !Fin(); ++pos) {
        const QChar c = Courant();
        if (!guillemet.isNull()) {
            if (c == guillemet)
                guillemet = QChar();
        } else if (c == u'"' || c == u'\'') {
            guillemet = c;
        } else if (c == u'[') {
            ++crochets;
        } else if (c == u']') {
            --crochets;
        } else if (c == u'>' && crochets <= 0) {
            TXmlNode& noeud = Noeud(TXmlNodeType::DocType, u"DOCTYPE", debut);
            noeud.value = texte.mid(debut + 9, pos - debut - 9).toString();
            ++pos;
            return noeud;
        }
    }
    Erreur(QStringLiteral("la déclaration <!DOCTYPE n'est pas terminée"), debut);
}

TXmlNode& TXmlDocument::Analyseur::LireBaliseOuvrante(bool& vide)
{
    const qsizetype debut = pos;
    ++pos;
    const QStringView nom = LireNom(u"nom d'élément après « < »");
    TXmlNode& element = Noeud(TXmlNodeType::Element, nom, debut);
    for (;;) {
        const bool blanc = SauterBlancs();
        if (Fin())
            Erreur(QStringLiteral("la balise <%1> n'est pas terminée").arg(nom), debut);
        if (Courant() == u'>' || Commence(u"/>")) {
            vide = Courant() == u'/';
            pos += vide ? 2 : 1;
            GarderAttributs(element);
            return element;
        }
        if (!blanc)
            Erreur(QStringLiteral("caractère « %1 » inattendu dans la balise <%2>").arg(Courant()).arg(nom));
        LireAttribut(nom);
    }
}

void TXmlDocument::Analyseur::LireBaliseFermante(const TXmlNode& ouvert)
{
    const qsizetype debut = pos;
    pos += 2;
    const QStringView nom = LireNom(u"nom d'élément après « </ »");
    SauterBlancs();
    if (Fin() || Courant() != u'>')
        Erreur(QStringLiteral("« > » attendu pour terminer </%1>").arg(nom));
    ++pos;
    if (nom != ouvert.GetName())
        Erreur(QStringLiteral("balise de fin </%1> inattendue : l'élément <%2> ouvert ligne %3 n'est pas fermé")
                   .arg(nom, ouvert.GetName())
                   .arg(ouvert.GetLine()),
               debut);
}

void TXmlDocument::Analyseur::LireTexte(TXmlNode& element)
{
    qsizetype fin = texte.indexOf(u'<', pos);
    if (fin < 0)
        fin = texte.size();
    const QStringView morceau = texte.mid(pos, fin - pos);
    // Line breaks and indentation between elements carry no meaning.
    if (!QueDesBlancs(morceau))
        element.value += morceau;
    pos = fin;
}

TXmlNode& TXmlDocument::Analyseur::LireElement()
{
    bool vide = false;
    TXmlNode& racine = LireBaliseOuvrante(vide);
    if (vide)
        return racine;
    std::vector<TXmlNode*> ouverts{&racine};
    while (!ouverts.empty()) {
        TXmlNode& courant = *ouverts.back();
        LireTexte(courant);
        if (Fin())
            Erreur(QStringLiteral("l'élément <%1> ouvert ligne %2 n'est pas fermé").arg(courant.GetName()).arg(courant.GetLine()));
        if (Commence(u"</")) {
            LireBaliseFermante(courant);
            ouverts.pop_back();
        } else if (Commence(u"<!--")) {
            courant.AddChild(LireDelimite(TXmlNodeType::Comment, u"<!--", u"-->", QStringLiteral("le commentaire")));
        } else if (Commence(u"<![CDATA[")) {
            courant.AddChild(LireDelimite(TXmlNodeType::CData, u"<![CDATA[", u"]]>", QStringLiteral("la section CDATA")));
        } else if (Commence(u"<?")) {
            const qsizetype debut = pos;
            TXmlNode& instruction = LireInstruction();
            if (instruction.GetType() == TXmlNodeType::Declaration)
                Erreur(QStringLiteral("déclaration XML à l'intérieur de l'élément <%1>").arg(courant.GetName()), debut);
            courant.AddChild(instruction);
        } else if (Commence(u"<!")) {
            Erreur(QStringLiteral("« <! » inattendu dans l'élément <%1>").arg(courant.GetName()));
        } else {
            if (static_cast<int>(ouverts.size()) >= kProfondeurMax)
                Erreur(QStringLiteral("plus de %1 niveaux d'éléments imbriqués").arg(kProfondeurMax));
            TXmlNode& enfant = LireBaliseOuvrante(vide);
            courant.AddChild(enfant);
            if (!vide)
                ouverts.push_back(&enfant);
        }
    }
    return racine;
}

std::vector<TXmlNode*> TXmlDocument::Analyseur::Analyser(TXmlNode*& racine)
{
    std::vector<TXmlNode*> noeuds;
    racine = nullptr;
    for (;;) {
        SauterBlancs();
        if (Fin())
            break;
        const qsizetype debut = pos;
        if (Courant() != u'<')
            Erreur(QStringLiteral("texte en dehors de l'élément racine"));
        if (Commence(u"<?")) {
            TXmlNode& instruction = LireInstruction();
            if (instruction.GetType() == TXmlNodeType::Declaration && !noeuds.empty())
                Erreur(QStringLiteral("la déclaration XML doit être au début du document"), debut);
            noeuds.push_back(&instruction);
        } else if (Commence(u"<!--")) {
            noeuds.push_back(&LireDelimite(TXmlNodeType::Comment, u"<!--", u"-->", QStringLiteral("le commentaire")));
        } else if (Commence(u"<!DOCTYPE")) {
            noeuds.push_back(&LireDocType());
        } else if (Commence(u"</")) {
            Erreur(QStringLiteral("balise de fin sans élément ouvert"));
        } else if (Commence(u"<!")) {
            Erreur(QStringLiteral("« <! » inattendu en dehors de l'élément racine"));
        } else {
            if (racine)
                Erreur(QStringLiteral("un second élément racine suit l'élément <%1>").arg(racine->GetName()));
            racine = &LireElement();
            noeuds.push_back(racine);
        }
    }
    if (!racine)
        throw ErreurXml(kPasDeRacine);
    return noeuds;
}

QString TXmlDocument::Analyseur::EncodageDeclare()
{
    SauterBlancs();
    if (!Commence(u"<?xml") || pos + 5 >= texte.size() || !EstBlanc(texte[pos + 5]))
        return QString();
    return LireInstruction().GetAttributeByName(u"encoding");
}

ErreurXml::ErreurXml(const QString& message, int ligne) : std::runtime_error(message.toStdString()), ligne(ligne) {}

int TXmlNode::GetLine() const
{
    if (!debutTexte)
        return 0;
    return static_cast<int>(QStringView(debutTexte, position).count(u'\n')) + 1;
}

void TXmlNode::AddChild(TXmlNode& child)
{
    child.parent = this;
    if (dernierEnfant)
        dernierEnfant->suivant = &child;
    else
        premierEnfant = &child;
    dernierEnfant = &child;
    ++nombreEnfants;
}

const TXmlNode::Attribute* TXmlNode::Trouver(QStringView attributeName) const
{
    for (int i = 0; i < nombreAttributs; ++i)
        if (MemeNom(attributs[i].name(), attributeName))
            return &attributs[i];
    return nullptr;
}

bool TXmlNode::HasAttribute(QStringView attributeName) const
{
    return Trouver(attributeName) != nullptr;
}

QStringView TXmlNode::GetAttributeView(QStringView attributeName, QString& buffer) const
{
    const Attribute* attribute = Trouver(attributeName);
    return attribute ? VueValeur(attribute->written(), buffer) : u"";
}

QStringView TXmlNode::AttributeView(int index, QString& buffer) const
{
    return VueValeur(attributs[index].written(), buffer);
}

bool TXmlNode::AttributeIs(int index, QStringView attributeName) const
{
    return MemeNom(attributs[index].name(), attributeName);
}

QString TXmlNode::GetAttributeByName(QStringView attributeName) const
{
    const Attribute* attribute = Trouver(attributeName);
    if (!attribute)
        return QString();
    // A value with entity references comes back resolved in `resolu`.
    QString resolu;
    const QStringView valeur = VueValeur(attribute->written(), resolu);
    return resolu.isNull() ? valeur.toString() : resolu;
}

TXmlNode* TXmlNode::FindNode(QStringView searched) const
{
    if (searched.startsWith(u'/')) {
        QString path = FullPath();
        return FindByPath(searched, path);
    }
    for (TXmlNode* child = premierEnfant; child; child = child->suivant) {
        if (child->type != TXmlNodeType::Element)
            continue;
        if (MemeNom(child->name, searched))
            return child;
        if (TXmlNode* found = child->FindNode(searched))
            return found;
    }
    return nullptr;
}

TXmlNode* TXmlNode::FindByPath(QStringView searched, QString& path) const
{
    const qsizetype longueur = path.size();
    for (TXmlNode* child = premierEnfant; child; child = child->suivant) {
        if (child->type != TXmlNodeType::Element)
            continue;
        path += u'/';
        path += child->name;
        TXmlNode* found = MemeNom(path, searched) ? child : child->FindByPath(searched, path);
        path.truncate(longueur);
        if (found)
            return found;
    }
    return nullptr;
}

void TXmlNode::NodesByName(QStringView searched, TXmlNodeList& list) const
{
    list.Clear();
    for (TXmlNode* child = premierEnfant; child; child = child->suivant)
        if (child->type == TXmlNodeType::Element && MemeNom(child->name, searched))
            list.Add(child);
}

QString TXmlNode::FullPath() const
{
    if (type != TXmlNodeType::Element)
        return QString();
    QStringList noms;
    for (const TXmlNode* noeud = this; noeud; noeud = noeud->parent)
        noms.prepend(noeud->name.toString());
    return u'/' + noms.join(u'/');
}

namespace {

// The compact form written straight as the Windows-1252 bytes of a document
// read from such bytes. Each character of the parsed text encodes back to the
// byte it was decoded from, so the bytes read need not be kept.
class OctetsCp1252
{
public:
    explicit OctetsCp1252(QStringView source)
        : debutSource(source.utf16()), finSource(source.utf16() + source.size()),
          octets(source.size() + 4096, Qt::Uninitialized)
    {
    }

    OctetsCp1252& operator+=(QStringView texte)
    {
        char* sortie = Reserver(texte.size());
        const char16_t* unites = texte.utf16();
        // ASCII in one pass the compiler widens; the rare others after.
        char16_t autres = 0;
        for (qsizetype i = 0; i < texte.size(); ++i) {
            sortie[i] = static_cast<char>(unites[i]);
            autres |= unites[i] & 0xFF80;
        }
        if (autres) {
            for (qsizetype i = 0; i < texte.size(); ++i) {
                if (unites[i] >= 0x80)
                    sortie[i] = OctetCp1252(unites[i]);
            }
        }
        return *this;
    }
    // ` nom=valeur`, copied as one piece when the parsed text holds it so.
    void AjouterAttribut(QStringView nom, QStringView ecrit)
    {
        const char16_t* debut = nom.utf16() - 1;
        const char16_t* fin = ecrit.utf16() + ecrit.size();
        if (DansLaSource(debut, fin) && *debut == u' ' && debut[1 + nom.size()] == u'='
            && ecrit.utf16() == debut + 2 + nom.size()) {
            *this += QStringView(debut, fin);
            return;
        }
        *this += u' ';
        *this += nom;
        *this += u'=';
        *this += ecrit;
    }
    OctetsCp1252& operator+=(QChar c)
    {
        *Reserver(1) = OctetCp1252(c.unicode());
        return *this;
    }
    QByteArray Octets()
    {
        octets.truncate(taille);
        return octets;
    }

private:
    bool DansLaSource(const char16_t* debut, const char16_t* fin) const
    {
        return debut && std::less_equal<>()(debutSource, debut) && std::less_equal<>()(fin, finSource);
    }

    const char16_t* debutSource;
    const char16_t* finSource;
    QByteArray octets;
    qsizetype taille = 0;

    // Room for n more bytes; the place where they go.
    char* Reserver(qsizetype n)
    {
        if (taille + n > octets.size())
            octets.resize(std::max(2 * octets.size(), taille + n));
        char* place = octets.data() + taille;
        taille += n;
        return place;
    }
};

void AjouterAttribut(OctetsCp1252& out, QStringView nom, QStringView ecrit)
{
    out.AjouterAttribut(nom, ecrit);
}

void AjouterAttribut(QString& out, QStringView nom, QStringView ecrit)
{
    out += u' ';
    out += nom;
    out += u'=';
    out += ecrit;
}

} // namespace

void TXmlNode::Write(QString& out) const
{
    Ecrire(out);
}

template <class Sortie>
void TXmlNode::Ecrire(Sortie& out) const
{
    const auto ecrireAttributs = [&] {
        for (int i = 0; i < nombreAttributs; ++i)
            AjouterAttribut(out, attributs[i].name(), attributs[i].written());
    };
    const auto entourer = [&](QStringView debut, QStringView fin) {
        out += debut;
        out += value;
        out += fin;
    };
    switch (type) {
    case TXmlNodeType::Element:
        out += u'<';
        out += name;
        ecrireAttributs();
        if (!premierEnfant && value.isEmpty()) {
            out += u"/>";
            return;
        }
        out += u'>';
        out += value;
        for (const TXmlNode* child = premierEnfant; child; child = child->suivant)
            child->Ecrire(out);
        out += u"</";
        out += name;
        out += u'>';
        return;
    case TXmlNodeType::Declaration:
        out += u"<?xml";
        ecrireAttributs();
        out += u"?>";
        return;
    case TXmlNodeType::Comment:
        entourer(u"<!--", u"-->");
        return;
    case TXmlNodeType::CData:
        entourer(u"<![CDATA[", u"]]>");
        return;
    case TXmlNodeType::DocType:
        entourer(u"<!DOCTYPE", u">");
        return;
    case TXmlNodeType::ProcessingInstruction:
        out += u"<?";
        out += name;
        if (!value.isEmpty()) {
            out += u' ';
            out += value;
        }
        out += u"?>";
        return;
    }
}

TXmlDocument::TXmlDocument(const QString& rootName) : stock(std::make_unique<Stock>())
{
    TXmlNode& declaration = stock->Noeud(TXmlNodeType::Declaration, u"xml");
    // Each value follows its name in one text, as in a parsed one.
    const QStringView version = stock->Garder(QStringLiteral("version\"1.0\""));
    const QStringView encodage = stock->Garder(QStringLiteral("encoding\"windows-1252\""));
    const std::vector<TXmlNode::Attribute> attributs{{version.left(7), version.sliced(7)},
                                                     {encodage.left(8), encodage.sliced(8)}};
    declaration.attributs = stock->Attributs(attributs);
    declaration.nombreAttributs = static_cast<int>(attributs.size());
    root = &stock->Noeud(TXmlNodeType::Element, stock->Garder(rootName));
    nodes = {&declaration, root};
}

TXmlDocument::~TXmlDocument() = default;

void TXmlDocument::Lire(QString texte, Sortie encodage, bool luEnCp1252)
{
    auto nouveau = std::make_unique<Stock>(std::move(texte), luEnCp1252);
    TXmlNode* nouvelleRacine = nullptr;
    std::vector<TXmlNode*> noeuds = Analyseur(*nouveau).Analyser(nouvelleRacine);
    stock = std::move(nouveau);
    nodes = std::move(noeuds);
    root = nouvelleRacine;
    sortie = encodage;
}

void TXmlDocument::ReadFromString(const QString& text)
{
    Lire(text, Sortie::SelonDeclaration);
}

void TXmlDocument::ReadFromBytes(QByteArray bytes)
{
    if (const QString forme = FormeUnicodeLarge(bytes); !forme.isEmpty())
        throw ErreurXml(QStringLiteral("le texte est codé en %1, un codage que l'hôte n'écrit pas ; "
                                       "enregistrez-le en Windows-1252 (iso-8859-1) ou en UTF-8.")
                            .arg(forme));
    // The bytes are let go once decoded, before the parse builds its nodes:
    // a large file is not held twice.
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QString texte = DecoderUtf8(QByteArrayView(bytes).sliced(3));
        bytes = QByteArray();
        Lire(std::move(texte), Sortie::Utf8AvecMarque);
        return;
    }
    QString texte = DecoderCp1252(bytes);
    QString encodage;
    {
        Stock essai(texte);
        encodage = Analyseur(essai).EncodageDeclare();
    }
    // XML names character sets without regard to case, and a document that
    // names none is UTF-8; a host's 8-bit file that names none reads as it
    // always has, its accented bytes being practically never valid UTF-8.
    const bool utf8 = encodage.isEmpty() ? EstUtf8NonAscii(bytes) : MemeNom(encodage, u"UTF-8");
    if (utf8) {
        texte = QString();
        texte = DecoderUtf8(bytes);
    }
    bytes = QByteArray();
    if (utf8)
        Lire(std::move(texte), Sortie::Utf8);
    else
        Lire(std::move(texte), Sortie::SelonDeclaration, true);
}

void TXmlDocument::LoadFromFile(const QString& path)
{
    const QString nom = QDir::toNativeSeparators(path);
    QFile fichier(path);
    if (!fichier.open(QIODevice::ReadOnly))
        throw ErreurXml(QStringLiteral("Impossible d'ouvrir le fichier « %1 » : %2").arg(nom, fichier.errorString()));
    QByteArray octets = fichier.readAll();
    if (fichier.error() != QFileDevice::NoError)
        throw ErreurXml(QStringLiteral("Impossible de lire le fichier « %1 » : %2").arg(nom, fichier.errorString()));
    fichier.close();
    try {
        ReadFromBytes(std::move(octets));
    } catch (const ErreurXml& erreur) {
        if (erreur.Message() == kPasDeRacine)
            throw;
        throw ErreurXml(QStringLiteral("Fichier « %1 » : %2").arg(nom, erreur.Message()), erreur.Ligne());
    }
}

bool TXmlDocument::IsUtf8() const
{
    for (const TXmlNode* node : nodes)
        if (node->GetType() == TXmlNodeType::Declaration)
            return MemeNom(node->GetAttributeByName(u"encoding"), u"UTF-8");
    return false;
}

QString TXmlDocument::SaveToString() const
{
    QString texte;
    texte.reserve(stock->Source().size() + 64);
    for (const TXmlNode* node : nodes) {
        node->Write(texte);
        texte += u'\n';
    }
    return texte;
}

QByteArray TXmlDocument::SaveToBytes() const
{
    if (sortie == Sortie::SelonDeclaration && !IsUtf8() && stock->LuEnCp1252()) {
        OctetsCp1252 octets(stock->Source());
        for (const TXmlNode* node : nodes) {
            node->Ecrire(octets);
            octets += u'\n';
        }
        return octets.Octets();
    }
    const QString texte = SaveToString();
    switch (sortie) {
    case Sortie::Utf8AvecMarque:
        return "\xEF\xBB\xBF" + texte.toUtf8();
    case Sortie::Utf8:
        return texte.toUtf8();
    case Sortie::SelonDeclaration:
        break;
    }
    return IsUtf8() ? texte.toUtf8() : EncoderCp1252(texte);
}

void TXmlDocument::SaveToFile(const QString& path) const
{
    if (const auto raison = RemplacerFichier(path, SaveToBytes()))
        throw ErreurXml(QStringLiteral("Impossible d'écrire le fichier « %1 » : %2").arg(QDir::toNativeSeparators(path), *raison));
}
