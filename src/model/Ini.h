#pragma once

// INI files as Windows hosts write them: "[Section]" lines, then "Key=Value"
// lines. Section and key names are matched without regard to case and to the
// blanks around them; a value is the rest of the line, without its surrounding
// blanks. Lines may end in CR LF, LF or CR; the bytes are UTF-16 after its
// byte-order mark, UTF-8 after its mark or when they are valid UTF-8,
// Windows-1252 otherwise. A missing file reads as empty.
//
// Writing a key rewrites the file atomically and keeps every byte of the other
// lines as it was: comments, blank lines, the order of sections and keys, the
// end of each line, the character set, even bytes it cannot decode. Only a
// Windows-1252 file given a value it cannot hold is written again in UTF-8.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class TFichierIni
{
public:
    // Reads the file at once; later changes made by others are not seen.
    explicit TFichierIni(const QString& fichier);

    const QString& Fichier() const { return fichier; }

    bool SectionExiste(const QString& section) const;
    // The section names in file order, as written (blanks removed).
    QStringList Sections() const;

    QString LireTexte(const QString& section, const QString& cle, const QString& defaut = {}) const;
    // A value that is not a whole number in decimal reads as the default.
    int LireEntier(const QString& section, const QString& cle, int defaut) const;
    // A value written with the regional decimal separator; anything else
    // reads as the default.
    double LireDecimal(const QString& section, const QString& cle, double defaut) const;

    // Sets the value of a key (adding the key, or the section, when missing)
    // and saves the file at once. Line breaks in the value become blanks, since
    // a value ends with its line. The file is replaced as RemplacerFichier
    // says. Throws std::runtime_error when the file cannot be written (a
    // French sentence saying what to do, the system's words on a second
    // line), or when it exists but could not be read (writing would lose
    // its content).
    void EcrireTexte(const QString& section, const QString& cle, const QString& valeur);

private:
    enum class Jeu { Windows1252, Utf8, Utf16Le, Utf16Be };

    struct LigneIni
    {
        QString texte;       // without its end of line
        QString finLigne;    // "\r\n", "\n", "\r" or "" (last line without one)
        QByteArray octets;   // the text's bytes as read
        bool modifiee = false; // written from texte, not from octets
    };

    QString fichier;
    QVector<LigneIni> lignes;
    Jeu jeu = Jeu::Windows1252;
    QByteArray entete; // the byte-order mark as read
    bool illisible = false;

    // Look-ups, rebuilt after every change: section names as written (first
    // occurrence, file order); folded section name -> its first header line;
    // folded "section\nkey" -> the line of its first occurrence.
    QStringList sections;
    QHash<QString, int> entetes;
    QHash<QString, int> valeurs;

    void Charger();
    void ChoisirJeu(const QByteArray& octets);
    void Decouper(QByteArrayView octets);
    QString DecoderLigne(const QByteArray& octets) const;
    QByteArray EncoderLigne(const QString& texte) const;
    QByteArray Assembler() const;
    bool RelitCommeEcrit(const QByteArray& octets) const;
    void Indexer();
    void Enregistrer();
    QString FinLigneHabituelle() const;
    // The last key line of the section whose header is at that line (the
    // header itself when the section has no key).
    int DerniereCle(int entete) const;
    void InsererLigne(int position, const QString& texte);
};
