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
    TXmlNode(TXmlNodeType type, const QString& name);
    TXmlNode(const TXmlNode&) = delete;
    TXmlNode& operator=(const TXmlNode&) = delete;

    TXmlNodeType GetType() const { return type; }
    const QString& GetName() const { return name; }
    // Text content as written (comments, CDATA, processing instructions,
    // document type; the non-blank text of an element).
    const QString& GetValue() const { return value; }
    void SetValue(const QString& texte) { value = texte; }
    void AppendValue(QStringView texte) { value += texte; }
    TXmlNode* GetParent() const { return parent; }
    // The line of the source where the node starts; 0 for a node built in memory.
    int GetLine() const { return line; }
    void SetLine(int numero) { line = numero; }

    int ChildCount() const { return static_cast<int>(children.size()); }
    TXmlNode* GetChild(int index) const { return children.at(static_cast<std::size_t>(index)).get(); }
    TXmlNode& AddChild(std::unique_ptr<TXmlNode> child);

    int AttributeCount() const { return static_cast<int>(attributes.size()); }
    const QString& AttributeName(int index) const { return attributes.at(static_cast<std::size_t>(index)).name; }
    // The value as written, quotes included: "a &amp; b" or 'x'.
    const QString& AttributeWritten(int index) const { return attributes.at(static_cast<std::size_t>(index)).written; }
    // Adds an attribute given in its written form, quotes included.
    void AddWrittenAttribute(const QString& attributeName, const QString& written);
    bool HasAttribute(QStringView attributeName) const;
    bool HasAttribute(const QString& attributeName) const { return HasAttribute(QStringView(attributeName)); }
    // The value with its quotes removed and its entity references resolved;
    // "" when the node has no attribute of that name (compared ignoring case).
    QString GetAttributeByName(QStringView attributeName) const;
    QString GetAttributeByName(const QString& attributeName) const { return GetAttributeByName(QStringView(attributeName)); }

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
    struct Attribute
    {
        QString name;
        QString written;
    };

    TXmlNodeType type;
    QString name;
    QString value;
    int line = 0;
    TXmlNode* parent = nullptr;
    std::vector<Attribute> attributes;
    std::vector<std::unique_ptr<TXmlNode>> children;

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
    // Windows-1252 unless the declaration says exactly "UTF-8" (or the file
    // starts with a UTF-8 byte-order mark). On error the document is unchanged.
    void LoadFromFile(const QString& path);
    void ReadFromBytes(const QByteArray& bytes);
    void ReadFromString(const QString& text);

    // Writes every top-level node followed by a line feed, in Windows-1252
    // (UTF-8 when the declaration says so). The file is replaced only once
    // the whole content is written: on error the previous file is intact.
    void SaveToFile(const QString& path) const;
    QString SaveToString() const;
    QByteArray SaveToBytes() const;

    TXmlNode* GetRoot() const { return root; }
    int NodeCount() const { return static_cast<int>(nodes.size()); }
    TXmlNode* GetNode(int index) const { return nodes.at(static_cast<std::size_t>(index)).get(); }
    // The declaration says exactly "UTF-8".
    bool IsUtf8() const;

private:
    std::vector<std::unique_ptr<TXmlNode>> nodes;
    TXmlNode* root = nullptr;
};
