#include "ui/common/Messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

EnregistreurMessages* enregistreurActif = nullptr;

const QString kTitre = QStringLiteral("Quarlo");

int Afficher(QMessageBox::Icon icone, const QString& texte, QWidget* parent, bool question)
{
    QMessageBox boite(icone, kTitre, texte, QMessageBox::NoButton, parent);
    // Messages quote labels typed by users: never read them as markup.
    boite.setTextFormat(Qt::PlainText);
    QPushButton* oui = nullptr;
    if (question) {
        oui = boite.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        QPushButton* non = boite.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        boite.setDefaultButton(oui);
        boite.setEscapeButton(non);
    } else {
        QPushButton* ok = boite.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        boite.setDefaultButton(ok);
        boite.setEscapeButton(ok);
    }
    boite.exec();
    return oui != nullptr && boite.clickedButton() == oui;
}

} // namespace

namespace Messages {

void Information(const QString& texte, QWidget* parent)
{
    if (auto* enregistreur = EnregistreurMessages::Actif()) {
        enregistreur->Recevoir(Genre::Information, texte);
        return;
    }
    Afficher(QMessageBox::Information, texte, parent, false);
}

bool Question(const QString& texte, QWidget* parent)
{
    if (auto* enregistreur = EnregistreurMessages::Actif())
        return enregistreur->Recevoir(Genre::Question, texte);
    return Afficher(QMessageBox::Question, texte, parent, true);
}

void Erreur(const QString& texte, QWidget* parent)
{
    if (auto* enregistreur = EnregistreurMessages::Actif()) {
        enregistreur->Recevoir(Genre::Erreur, texte);
        return;
    }
    Afficher(QMessageBox::Critical, texte, parent, false);
}

} // namespace Messages

EnregistreurMessages::EnregistreurMessages()
    : precedent(enregistreurActif)
{
    enregistreurActif = this;
}

EnregistreurMessages::~EnregistreurMessages()
{
    enregistreurActif = precedent;
}

EnregistreurMessages* EnregistreurMessages::Actif()
{
    return enregistreurActif;
}

QStringList EnregistreurMessages::Textes() const
{
    QStringList textes;
    for (const Message& message : recus)
        textes << message.texte;
    return textes;
}

bool EnregistreurMessages::Recevoir(Messages::Genre genre, const QString& texte)
{
    recus.push_back({genre, texte});
    if (genre != Messages::Genre::Question || reponses.empty())
        return false;
    const bool reponse = reponses.front();
    reponses.pop_front();
    return reponse;
}
