#pragma once

// Every message box of the program is built here: French buttons, the title
// "Quarlo". Tests install an EnregistreurMessages: boxes are then recorded
// and answered from its queue instead of being shown.

#include <QString>
#include <QStringList>
#include <QVector>
#include <deque>

class QWidget;

namespace Messages {

enum class Genre { Information, Question, Erreur };

// One button "OK".
void Information(const QString& texte, QWidget* parent = nullptr);
// Buttons "Oui" and "Non"; true only for "Oui".
bool Question(const QString& texte, QWidget* parent = nullptr);
// A question whose "Oui" deletes or drops something: the same buttons, but
// "Non" is the default, so that Enter keeps what would be lost.
bool QuestionPerte(const QString& texte, QWidget* parent = nullptr);
// An error, one button "OK".
void Erreur(const QString& texte, QWidget* parent = nullptr);

} // namespace Messages

// While alive, message boxes are not shown: their texts are recorded and
// questions take the next queued answer ("Non" when none is queued).
class EnregistreurMessages
{
public:
    struct Message
    {
        Messages::Genre genre;
        QString texte;
        bool nonParDefaut = false; // a question whose default answer is "Non"
    };

    EnregistreurMessages();
    ~EnregistreurMessages();
    EnregistreurMessages(const EnregistreurMessages&) = delete;
    EnregistreurMessages& operator=(const EnregistreurMessages&) = delete;

    void RepondreOui() { reponses.push_back(true); }
    void RepondreNon() { reponses.push_back(false); }

    const QVector<Message>& Recus() const { return recus; }
    QStringList Textes() const;
    QString Dernier() const { return recus.isEmpty() ? QString() : recus.last().texte; }
    void Vider() { recus.clear(); }
    int ReponsesEnAttente() const { return static_cast<int>(reponses.size()); }

    // Used by Messages.
    static EnregistreurMessages* Actif();
    bool Recevoir(Messages::Genre genre, const QString& texte, bool nonParDefaut = false);

private:
    QVector<Message> recus;
    std::deque<bool> reponses;
    EnregistreurMessages* precedent;
};
