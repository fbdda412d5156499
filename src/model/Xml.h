#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <memory>
#include <stdexcept>
#include <vector>

// A small in-memory XML document: a parser, a node tree and a compact writer.
// Attribute values are kept exactly as they were written (quotes and entity
// references included) and written back unchanged; they are unescaped only
// when asked for by name.
//
// The names and written values of a parsed document are views of the text it
// was read from, which the document keeps: reading allocates per node, not
// per name or value. Views handed out by a node live as long as its document.

// A document that cannot be read or written. The message is French and says
// what went wrong and, for input that is not well-formed, on which line.
class ErreurXml : public std::runtime_error
{
public:
    explicit ErreurXml(const QString& message, int ligne = 0);
    QString Message() const { return QString::fromUtf8(what()); }
    // 0 when the error is not tied to a line.
    int Ligne() const { return ligne; }

private:
    int ligne;
};

enum class TXmlNodeType { Element, Declaration, Comment, CData, DocType, ProcessingInstruction };

class TXmlNode;

// Node references in document order; the nodes stay owned by their document.
class TXmlNodeList
{
public:
    int Count() const { return static_cast<int>(noeuds.size()); }
    TXmlNode* GetItems(int index) const { return noeuds.at(static_cast<std::size_t>(index)); }
    void Clear() { noeuds.clear(); }
    void Add(TXmlNode* noeud) { noeuds.push_back(noeud); }
    auto begin() const { return noeuds.begin(); }
    auto end() const { return noeuds.end(); }

private:
    std::vector<TXmlNode*> noeuds;
};

class TXmlNode
{
public:
    TXmlNode(const TXmlNode&) = delete;
    TXmlNode& operator=(const TXmlNode&) = delete;

    TXmlNodeType GetType() const { return type; }
    QStringView GetName() const { return name; }
    // Text content as written (comments, CDATA, processing instructions,
    // document type; the non-blank text of an element).
    const QString& GetValue() const { return value; }
    TXmlNode* GetParent() const { return parent; }
    // The line of the source where the node starts; 0 for a node built in
    // memory. Counted when asked for (messages only need it).
    int GetLine() const;

    // The children in document order: for (n = FirstChild(); n; n = n->NextSibling()).
    TXmlNode* FirstChild() const { return premierEnfant; }
    TXmlNode* NextSibling() const { return suivant; }
    int ChildCount() const { return nombreEnfants; }

    int AttributeCount() const { return nombreAttributs; }
    QStringView AttributeName(int index) const { return attributs[index].name(); }
    // The value as written, quotes included: "a &amp; b" or 'x'.
    QStringView AttributeWritten(int index) const { return attributs[index].written(); }
    bool HasAttribute(QStringView attributeName) const;
    bool HasAttribute(const QString& attributeName) const { return HasAttribute(QStringView(attributeName)); }
    // The value with its quotes removed and its entity references resolved;
    // "" when the node has no attribute of that name (compared ignoring case).
    QString GetAttributeByName(QStringView attributeName) const;
    QString GetAttributeByName(const QString& attributeName) const { return GetAttributeByName(QStringView(attributeName)); }
    // The same value without a copy: a view of the written value when it
    // holds no entity reference, else of `buffer`, which receives the
    // resolved text.
    QStringView GetAttributeView(QStringView attributeName, QString& buffer) const;
    // The same for the attribute at that position, and whether it has that
    // name (compared ignoring case): a reader going through the attributes
    // in their written order.
    QStringView AttributeView(int index, QString& buffer) const;
    bool AttributeIs(int index, QStringView attributeName) const;

    // Depth-first search of the descendants (not this node): the first one
    // whose name matches ignoring case. A name starting with "/" is compared
    // with the descendants' full paths ("/Quarlo/pose/tva").
    TXmlNode* FindNode(QStringView searched) const;
    TXmlNode* FindNode(const QString& searched) const { return FindNode(QStringView(searched)); }
    // Clears the list, then appends the direct children with that name
    // (ignoring case), in document order.
    void NodesByName(QStringView searched, TXmlNodeList& list) const;
    void NodesByName(const QString& searched, TXmlNodeList& list) const { NodesByName(QStringView(searched), list); }
    // "/" followed by the names from the top-level element down to this node.
    QString FullPath() const;

    // Appends the node in the compact form.
    void Write(QString& out) const;

private:
    // Nodes live in their document's storage, which makes and links them.
    friend class TXmlDocument;
    TXmlNode() = default;

    // Two views of one text held in 16 bytes rather than 32: a large file
    // has millions of attributes. The written value follows the name in the
    // same text, at most kEcartMax characters from the name's start.
    class Attribute
    {
    public:
        static constexpr qsizetype kEcartMax = 0xFFFF;
        Attribute() = default;
        Attribute(QStringView nom, QStringView ecrit)
            : debutNom(nom.utf16()), tailleEcrit(static_cast<quint32>(ecrit.size())),
              tailleNom(static_cast<quint16>(nom.size())), ecart(static_cast<quint16>(ecrit.utf16() - nom.utf16()))
        {
        }
        QStringView name() const { return {debutNom, static_cast<qsizetype>(tailleNom)}; }
        QStringView written() const { return {debutNom + ecart, static_cast<qsizetype>(tailleEcrit)}; }

    private:
        const char16_t* debutNom = nullptr;
        quint32 tailleEcrit = 0;
        quint16 tailleNom = 0;
        quint16 ecart = 0; // from the name's start to the written value's
    };

    TXmlNodeType type = TXmlNodeType::Element;
    int nombreAttributs = 0; // beside the type: no padding
    QStringView name;
    QString value;
    const QChar* debutTexte = nullptr; // the parsed text's first character
    int position = -1;                 // where the node starts in it
    int nombreEnfants = 0;
    const Attribute* attributs = nullptr;
    TXmlNode* parent = nullptr;
    TXmlNode* premierEnfant = nullptr;
    TXmlNode* dernierEnfant = nullptr;
    TXmlNode* suivant = nullptr;

    void AddChild(TXmlNode& child);
    template <class Sortie>
    void Ecrire(Sortie& out) const;
    const Attribute* Trouver(QStringView attributeName) const;
    TXmlNode* FindByPath(QStringView searched, QString& path) const;
};

class TXmlDocument
{
public:
    // A new document: the declaration (version "1.0", encoding
    // "windows-1252") and an empty root element of that name.
    explicit TXmlDocument(const QString& rootName = QStringLiteral("Quarlo"));
    TXmlDocument(const TXmlDocument&) = delete;
    TXmlDocument& operator=(const TXmlDocument&) = delete;
    ~TXmlDocument();

    // Replace the content with the parsed input. The bytes of a file are
    // UTF-8 when it starts with a UTF-8 byte-order mark, when its declaration
    // names UTF-8 (in any case), or when it names no character set and its
    // bytes are valid UTF-8 holding a character outside ASCII; Windows-1252
    // otherwise. On error the document is unchanged.
    void LoadFromFile(const QString& path);
    void ReadFromBytes(QByteArray bytes);
    void ReadFromString(const QString& text);

    // Writes every top-level node followed by a line feed, in the character
    // set the document was read in: UTF-8 (with its byte-order mark when the
    // input had one) for input read as UTF-8, else Windows-1252 unless the
    // declaration names UTF-8. The file is replaced as RemplacerFichier
    // says: on error the previous file is intact.
    void SaveToFile(const QString& path) const;
    QString SaveToString() const;
    QByteArray SaveToBytes() const;

    TXmlNode* GetRoot() const { return root; }
    int NodeCount() const { return static_cast<int>(nodes.size()); }
    TXmlNode* GetNode(int index) const { return nodes.at(static_cast<std::size_t>(index)); }
    // The declaration names UTF-8 (in any case).
    bool IsUtf8() const;

private:
    class Analyseur;
    class Stock;
    enum class Sortie { SelonDeclaration, Utf8, Utf8AvecMarque };

    std::unique_ptr<Stock> stock; // every node and attribute, and the texts they view
    std::vector<TXmlNode*> nodes;
    TXmlNode* root = nullptr;
    Sortie sortie = Sortie::SelonDeclaration;

    void Lire(QString texte, Sortie encodage, bool luEnCp1252 = false);
};
