#include "model/Xml.h"

#include "model/Encodage.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
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

bool DebutNom(QChar c)
{
    return c.isLetter() || c == u'_' || c == u':' || (c.unicode() >= 0x80 && !c.isSpace());
}

bool SuiteNom(QChar c)
{
    return DebutNom(c) || c.isDigit() || c == u'-' || c == u'.';
}

bool MemeNom(QStringView a, QStringView b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
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
QString ResoudreEntites(QStringView valeur)
{
    if (!valeur.contains(u'&'))
        return valeur.toString();
    QString resultat;
    resultat.reserve(valeur.size());
    qsizetype position = 0;
    for (;;) {
        const qsizetype esperluette = valeur.indexOf(u'&', position);
        if (esperluette < 0) {
            resultat += valeur.mid(position);
            break;
        }
        resultat += valeur.mid(position, esperluette - position);
        const qsizetype pointVirgule = valeur.indexOf(u';', esperluette + 1);
        if (pointVirgule < 0) {
            resultat += valeur.mid(esperluette);
            break;
        }
        const QStringView reference = valeur.mid(esperluette + 1, pointVirgule - esperluette - 1);
        if (const auto caractere = CaractereReference(reference))
            resultat += *caractere;
        else
            resultat += valeur.mid(esperluette, pointVirgule - esperluette + 1);
        position = pointVirgule + 1;
    }
    return resultat;
}

class Analyseur
{
public:
    explicit Analyseur(QStringView texte) : texte(texte) {}

    std::vector<std::unique_ptr<TXmlNode>> Analyser(TXmlNode*& racine);
    // The encoding named by a declaration at the very start; "" when none.
    QString EncodageDeclare();

private:
    QStringView texte;
    qsizetype pos = 0;
    qsizetype posLigne = 0;
    int ligne = 1;
    // Names and short values repeat throughout a quote: one shared copy of
    // each saves most of the allocations of a large file.
    QHash<QStringView, QString> partages;

    QString Partager(QStringView morceau);

    int Ligne(qsizetype position);
    [[noreturn]] void Erreur(const QString& quoi, qsizetype position);
    [[noreturn]] void Erreur(const QString& quoi) { Erreur(quoi, pos); }
    bool Fin() const { return pos >= texte.size(); }
    QChar Courant() const { return texte[pos]; }
    bool Commence(QStringView motif) const { return texte.mid(pos).startsWith(motif); }
    bool SauterBlancs();
    qsizetype Chercher(QStringView fin, const QString& quoi, qsizetype debut);
    QString LireNom(const QString& quoi);
    void LireAttribut(TXmlNode& noeud, const QString& balise);
    std::unique_ptr<TXmlNode> LireInstruction();
    std::unique_ptr<TXmlNode> LireDelimite(TXmlNodeType type, QStringView debut, QStringView fin, const QString& quoi);
    std::unique_ptr<TXmlNode> LireDocType();
    std::unique_ptr<TXmlNode> LireElement();
    std::unique_ptr<TXmlNode> LireBaliseOuvrante(bool& vide);
    void LireBaliseFermante(const TXmlNode& ouvert);
    void LireTexte(TXmlNode& element);
};

QString Analyseur::Partager(QStringView morceau)
{
    constexpr qsizetype kLongueurPartagee = 64;
    if (morceau.size() > kLongueurPartagee)
        return morceau.toString();
    const auto trouve = partages.constFind(morceau);
    if (trouve != partages.constEnd())
        return trouve.value();
    QString copie = morceau.toString();
    partages.insert(morceau, copie);
    return copie;
}

int Analyseur::Ligne(qsizetype position)
{
    if (position < posLigne) {
        posLigne = 0;
        ligne = 1;
    }
    ligne += static_cast<int>(texte.mid(posLigne, position - posLigne).count(u'\n'));
    posLigne = position;
    return ligne;
}

void Analyseur::Erreur(const QString& quoi, qsizetype position)
{
    const int numero = Ligne(std::min(position, texte.size()));
    throw ErreurXml(QStringLiteral("XML mal formé, ligne %1 : %2.").arg(numero).arg(quoi), numero);
}

bool Analyseur::SauterBlancs()
{
    const qsizetype debut = pos;
    while (!Fin() && EstBlanc(Courant()))
        ++pos;
    return pos > debut;
}

// The position of the next `fin` from the current position; an error naming
// what is left open when there is none.
qsizetype Analyseur::Chercher(QStringView fin, const QString& quoi, qsizetype debut)
{
    const qsizetype trouve = texte.indexOf(fin, pos);
    if (trouve < 0)
        Erreur(QStringLiteral("%1 n'est pas terminé (« %2 » manquant)").arg(quoi, fin.toString()), debut);
    return trouve;
}

QString Analyseur::LireNom(const QString& quoi)
{
    const qsizetype debut = pos;
    if (Fin() || !DebutNom(Courant()))
        Erreur(Fin() ? QStringLiteral("fin du texte au lieu du %1").arg(quoi)
                     : QStringLiteral("« %1 » au lieu du %2").arg(Courant()).arg(quoi));
    ++pos;
    while (!Fin() && SuiteNom(Courant()))
        ++pos;
    return Partager(texte.mid(debut, pos - debut));
}

void Analyseur::LireAttribut(TXmlNode& noeud, const QString& balise)
{
    const QString nom = LireNom(QStringLiteral("nom d'attribut dans <%1>").arg(balise));
    SauterBlancs();
    if (Fin() || Courant() != u'=')
        Erreur(QStringLiteral("« = » attendu après l'attribut %1 de <%2>").arg(nom, balise));
    ++pos;
    SauterBlancs();
    if (Fin() || (Courant() != u'"' && Courant() != u'\''))
        Erreur(QStringLiteral("la valeur de l'attribut %1 de <%2> doit être entre guillemets").arg(nom, balise));
    const qsizetype debut = pos;
    const QChar guillemet = Courant();
    const qsizetype fin = texte.indexOf(guillemet, pos + 1);
    if (fin < 0)
        Erreur(QStringLiteral("la valeur de l'attribut %1 de <%2> n'est pas terminée").arg(nom, balise), debut);
    pos = fin + 1;
    noeud.AddWrittenAttribute(nom, Partager(texte.mid(debut, pos - debut)));
}

std::unique_ptr<TXmlNode> Analyseur::LireInstruction()
{
    const qsizetype debut = pos;
    pos += 2;
    const QString cible = LireNom(QStringLiteral("nom d'instruction après « <? »"));
    if (cible == u"xml") {
        auto declaration = std::make_unique<TXmlNode>(TXmlNodeType::Declaration, cible);
        declaration->SetLine(Ligne(debut));
        for (;;) {
            const bool blanc = SauterBlancs();
            if (Fin())
                Erreur(QStringLiteral("la déclaration XML n'est pas terminée"), debut);
            if (Commence(u"?>")) {
                pos += 2;
                return declaration;
            }
            if (!blanc)
                Erreur(QStringLiteral("caractère « %1 » inattendu dans la déclaration XML").arg(Courant()));
            LireAttribut(*declaration, QStringLiteral("?xml"));
        }
    }
    auto instruction = std::make_unique<TXmlNode>(TXmlNodeType::ProcessingInstruction, cible);
    instruction->SetLine(Ligne(debut));
    const qsizetype fin = Chercher(u"?>", QStringLiteral("l'instruction <?%1").arg(cible), debut);
    SauterBlancs();
    instruction->SetValue(texte.mid(std::min(pos, fin), std::max<qsizetype>(0, fin - pos)).toString());
    pos = fin + 2;
    return instruction;
}

std::unique_ptr<TXmlNode> Analyseur::LireDelimite(TXmlNodeType type, QStringView ouverture, QStringView fermeture,
                                                  const QString& quoi)
{
    const qsizetype debut = pos;
    pos += ouverture.size();
    const qsizetype fin = Chercher(fermeture, quoi, debut);
    auto noeud = std::make_unique<TXmlNode>(type, QString());
    noeud->SetLine(Ligne(debut));
    noeud->SetValue(texte.mid(pos, fin - pos).toString());
    pos = fin + fermeture.size();
    return noeud;
}

std::unique_ptr<TXmlNode> Analyseur::LireDocType()
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
            auto noeud = std::make_unique<TXmlNode>(TXmlNodeType::DocType, QStringLiteral("DOCTYPE"));
            noeud->SetLine(Ligne(debut));
            noeud->SetValue(texte.mid(debut + 9, pos - debut - 9).toString());
            ++pos;
            return noeud;
        }
    }
    Erreur(QStringLiteral("la déclaration <!DOCTYPE n'est pas terminée"), debut);
}

std::unique_ptr<TXmlNode> Analyseur::LireBaliseOuvrante(bool& vide)
{
    const qsizetype debut = pos;
    ++pos;
    const QString nom = LireNom(QStringLiteral("nom d'élément après « < »"));
    auto element = std::make_unique<TXmlNode>(TXmlNodeType::Element, nom);
    element->SetLine(Ligne(debut));
    for (;;) {
        const bool blanc = SauterBlancs();
        if (Fin())
            Erreur(QStringLiteral("la balise <%1> n'est pas terminée").arg(nom), debut);
        if (Courant() == u'>') {
            ++pos;
            vide = false;
            return element;
        }
        if (Commence(u"/>")) {
            pos += 2;
            vide = true;
            return element;
        }
        if (!blanc)
            Erreur(QStringLiteral("caractère « %1 » inattendu dans la balise <%2>").arg(Courant()).arg(nom));
        LireAttribut(*element, nom);
    }
}

void Analyseur::LireBaliseFermante(const TXmlNode& ouvert)
{
    const qsizetype debut = pos;
    pos += 2;
    const QString nom = LireNom(QStringLiteral("nom d'élément après « </ »"));
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

void Analyseur::LireTexte(TXmlNode& element)
{
    qsizetype fin = texte.indexOf(u'<', pos);
    if (fin < 0)
        fin = texte.size();
    const QStringView morceau = texte.mid(pos, fin - pos);
    // Line breaks and indentation between elements carry no meaning.
    if (!QueDesBlancs(morceau))
        element.AppendValue(morceau);
    pos = fin;
}

std::unique_ptr<TXmlNode> Analyseur::LireElement()
{
    bool vide = false;
    auto racine = LireBaliseOuvrante(vide);
    if (vide)
        return racine;
    std::vector<TXmlNode*> ouverts{racine.get()};
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
            auto instruction = LireInstruction();
            if (instruction->GetType() == TXmlNodeType::Declaration)
                Erreur(QStringLiteral("déclaration XML à l'intérieur de l'élément <%1>").arg(courant.GetName()), debut);
            courant.AddChild(std::move(instruction));
        } else if (Commence(u"<!")) {
            Erreur(QStringLiteral("« <! » inattendu dans l'élément <%1>").arg(courant.GetName()));
        } else {
            if (static_cast<int>(ouverts.size()) >= kProfondeurMax)
                Erreur(QStringLiteral("plus de %1 niveaux d'éléments imbriqués").arg(kProfondeurMax));
            auto enfant = LireBaliseOuvrante(vide);
            TXmlNode& ajoute = courant.AddChild(std::move(enfant));
            if (!vide)
                ouverts.push_back(&ajoute);
        }
    }
    return racine;
}

std::vector<std::unique_ptr<TXmlNode>> Analyseur::Analyser(TXmlNode*& racine)
{
    std::vector<std::unique_ptr<TXmlNode>> noeuds;
    racine = nullptr;
    for (;;) {
        SauterBlancs();
        if (Fin())
            break;
        const qsizetype debut = pos;
        if (Courant() != u'<')
            Erreur(QStringLiteral("texte en dehors de l'élément racine"));
        if (Commence(u"<?")) {
            auto instruction = LireInstruction();
            if (instruction->GetType() == TXmlNodeType::Declaration && !noeuds.empty())
                Erreur(QStringLiteral("la déclaration XML doit être au début du document"), debut);
            noeuds.push_back(std::move(instruction));
        } else if (Commence(u"<!--")) {
            noeuds.push_back(LireDelimite(TXmlNodeType::Comment, u"<!--", u"-->", QStringLiteral("le commentaire")));
        } else if (Commence(u"<!DOCTYPE")) {
            noeuds.push_back(LireDocType());
        } else if (Commence(u"</")) {
            Erreur(QStringLiteral("balise de fin sans élément ouvert"));
        } else if (Commence(u"<!")) {
            Erreur(QStringLiteral("« <! » inattendu en dehors de l'élément racine"));
        } else {
            if (racine)
                Erreur(QStringLiteral("un second élément racine suit l'élément <%1>").arg(racine->GetName()));
            noeuds.push_back(LireElement());
            racine = noeuds.back().get();
        }
    }
    if (!racine)
        throw ErreurXml(kPasDeRacine);
    return noeuds;
}

QString Analyseur::EncodageDeclare()
{
    SauterBlancs();
    if (!Commence(u"<?xml") || pos + 5 >= texte.size() || !EstBlanc(texte[pos + 5]))
        return QString();
    return LireInstruction()->GetAttributeByName(u"encoding");
}

QString DecoderUtf8(const QByteArray& octets)
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

void Entourer(QString& out, QStringView debut, const QString& contenu, QStringView fin)
{
    out += debut;
    out += contenu;
    out += fin;
}

} // namespace

ErreurXml::ErreurXml(const QString& message, int ligne) : std::runtime_error(message.toStdString()), ligne(ligne) {}

TXmlNode::TXmlNode(TXmlNodeType type, const QString& name) : type(type), name(name) {}

TXmlNode& TXmlNode::AddChild(std::unique_ptr<TXmlNode> child)
{
    child->parent = this;
    children.push_back(std::move(child));
    return *children.back();
}

void TXmlNode::AddWrittenAttribute(const QString& attributeName, const QString& written)
{
    attributes.push_back({attributeName, written});
}

bool TXmlNode::HasAttribute(QStringView attributeName) const
{
    for (const Attribute& attribute : attributes)
        if (MemeNom(attribute.name, attributeName))
            return true;
    return false;
}

QString TXmlNode::GetAttributeByName(QStringView attributeName) const
{
    for (const Attribute& attribute : attributes) {
        if (!MemeNom(attribute.name, attributeName))
            continue;
        const QStringView ecrit = attribute.written;
        const bool entreGuillemets = ecrit.size() >= 2 && (ecrit.front() == u'"' || ecrit.front() == u'\'') && ecrit.back() == ecrit.front();
        return ResoudreEntites(entreGuillemets ? ecrit.mid(1, ecrit.size() - 2) : ecrit);
    }
    return QString();
}

TXmlNode* TXmlNode::FindNode(QStringView searched) const
{
    if (searched.startsWith(u'/')) {
        QString path = FullPath();
        return FindByPath(searched, path);
    }
    for (const auto& child : children) {
        if (child->type != TXmlNodeType::Element)
            continue;
        if (MemeNom(child->name, searched))
            return child.get();
        if (TXmlNode* found = child->FindNode(searched))
            return found;
    }
    return nullptr;
}

TXmlNode* TXmlNode::FindByPath(QStringView searched, QString& path) const
{
    const qsizetype longueur = path.size();
    for (const auto& child : children) {
        if (child->type != TXmlNodeType::Element)
            continue;
        path += u'/';
        path += child->name;
        TXmlNode* found = MemeNom(path, searched) ? child.get() : child->FindByPath(searched, path);
        path.truncate(longueur);
        if (found)
            return found;
    }
    return nullptr;
}

void TXmlNode::NodesByName(QStringView searched, TXmlNodeList& list) const
{
    list.Clear();
    for (const auto& child : children)
        if (child->type == TXmlNodeType::Element && MemeNom(child->name, searched))
            list.Add(child.get());
}

QString TXmlNode::FullPath() const
{
    if (type != TXmlNodeType::Element)
        return QString();
    QStringList noms;
    for (const TXmlNode* noeud = this; noeud; noeud = noeud->parent)
        noms.prepend(noeud->name);
    return u'/' + noms.join(u'/');
}

void TXmlNode::Write(QString& out) const
{
    switch (type) {
    case TXmlNodeType::Element:
        out += u'<';
        out += name;
        for (const Attribute& attribute : attributes) {
            out += u' ';
            out += attribute.name;
            out += u'=';
            out += attribute.written;
        }
        if (children.empty() && value.isEmpty()) {
            out += u"/>";
            return;
        }
        out += u'>';
        out += value;
        for (const auto& child : children)
            child->Write(out);
        out += u"</";
        out += name;
        out += u'>';
        return;
    case TXmlNodeType::Declaration:
        out += u"<?xml";
        for (const Attribute& attribute : attributes) {
            out += u' ';
            out += attribute.name;
            out += u'=';
            out += attribute.written;
        }
        out += u"?>";
        return;
    case TXmlNodeType::Comment:
        Entourer(out, u"<!--", value, u"-->");
        return;
    case TXmlNodeType::CData:
        Entourer(out, u"<![CDATA[", value, u"]]>");
        return;
    case TXmlNodeType::DocType:
        Entourer(out, u"<!DOCTYPE", value, u">");
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

TXmlDocument::TXmlDocument(const QString& rootName)
{
    auto declaration = std::make_unique<TXmlNode>(TXmlNodeType::Declaration, QStringLiteral("xml"));
    declaration->AddWrittenAttribute(QStringLiteral("version"), QStringLiteral("\"1.0\""));
    declaration->AddWrittenAttribute(QStringLiteral("encoding"), QStringLiteral("\"windows-1252\""));
    nodes.push_back(std::move(declaration));
    nodes.push_back(std::make_unique<TXmlNode>(TXmlNodeType::Element, rootName));
    root = nodes.back().get();
}

TXmlDocument::~TXmlDocument() = default;

void TXmlDocument::ReadFromString(const QString& text)
{
    TXmlNode* nouvelleRacine = nullptr;
    auto nouveaux = Analyseur(text).Analyser(nouvelleRacine);
    nodes = std::move(nouveaux);
    root = nouvelleRacine;
}

void TXmlDocument::ReadFromBytes(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        ReadFromString(DecoderUtf8(bytes.mid(3)));
        return;
    }
    const QString texte = DecoderCp1252(bytes);
    if (Analyseur(texte).EncodageDeclare() == u"UTF-8")
        ReadFromString(DecoderUtf8(bytes));
    else
        ReadFromString(texte);
}

void TXmlDocument::LoadFromFile(const QString& path)
{
    QFile fichier(path);
    if (!fichier.open(QIODevice::ReadOnly))
        throw ErreurXml(QStringLiteral("Impossible d'ouvrir le fichier « %1 » : %2").arg(path, fichier.errorString()));
    const QByteArray octets = fichier.readAll();
    if (fichier.error() != QFileDevice::NoError)
        throw ErreurXml(QStringLiteral("Impossible de lire le fichier « %1 » : %2").arg(path, fichier.errorString()));
    try {
        ReadFromBytes(octets);
    } catch (const ErreurXml& erreur) {
        if (erreur.Message() == kPasDeRacine)
            throw;
        throw ErreurXml(QStringLiteral("Fichier « %1 » : %2").arg(path, erreur.Message()), erreur.Ligne());
    }
}

bool TXmlDocument::IsUtf8() const
{
    for (const auto& node : nodes)
        if (node->GetType() == TXmlNodeType::Declaration)
            return node->GetAttributeByName(u"encoding") == u"UTF-8";
    return false;
}

QString TXmlDocument::SaveToString() const
{
    QString texte;
    for (const auto& node : nodes) {
        node->Write(texte);
        texte += u'\n';
    }
    return texte;
}

QByteArray TXmlDocument::SaveToBytes() const
{
    const QString texte = SaveToString();
    return IsUtf8() ? texte.toUtf8() : EncoderCp1252(texte);
}

void TXmlDocument::SaveToFile(const QString& path) const
{
    const auto echec = [&path](const QString& raison) {
        return ErreurXml(QStringLiteral("Impossible d'écrire le fichier « %1 » : %2").arg(path, raison));
    };
    const QFileInfo cible(path);
    // Replacing the file by a rename would go through a read-only file.
    if (cible.exists() && cible.isFile() && !cible.isWritable())
        throw echec(QStringLiteral("le fichier est en lecture seule"));
    const QByteArray octets = SaveToBytes();
    QSaveFile fichier(path);
    if (!fichier.open(QIODevice::WriteOnly))
        throw echec(fichier.errorString());
    if (fichier.write(octets) != octets.size()) {
        const QString raison = fichier.errorString();
        fichier.cancelWriting();
        throw echec(raison);
    }
    if (!fichier.commit())
        throw echec(fichier.errorString());
}
