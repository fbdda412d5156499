#include "PiloteModal.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

// Longer than any window of the program takes to come up on a loaded machine.
constexpr int kAttenteMaxMs = 10000;

} // namespace

struct PiloteModal::Etat
{
    std::function<void(QWidget*)> action;
    bool requis = true;
    std::source_location lieu;
    bool fait = false;
    QPointer<QWidget> dejaOuverte;
    QElapsedTimer chrono;
    QTimer minuterie;

    void Surveiller()
    {
        QWidget* modale = QApplication::activeModalWidget();
        if (modale && modale != dejaOuverte && modale->isVisible()) {
            minuterie.stop();
            fait = true;
            action(modale);
            return;
        }
        if (chrono.elapsed() > kAttenteMaxMs)
            minuterie.stop();
    }
};

PiloteModal::PiloteModal(std::function<void(QWidget*)> action, bool requis, const std::source_location& lieu)
    : etat(std::make_unique<Etat>())
{
    etat->action = std::move(action);
    etat->requis = requis;
    etat->lieu = lieu;
    etat->dejaOuverte = QApplication::activeModalWidget();
    etat->chrono.start();
    etat->minuterie.setInterval(5);
    Etat* surveille = etat.get();
    QObject::connect(&etat->minuterie, &QTimer::timeout, [surveille] { surveille->Surveiller(); });
    etat->minuterie.start();
}

PiloteModal::PiloteModal(PiloteModal&& autre) noexcept = default;

PiloteModal::~PiloteModal()
{
    if (!etat)
        return;
    etat->minuterie.stop();
    if (etat->requis && !etat->fait)
        QTest::qFail("PiloteModal: the modal window never opened", etat->lieu.file_name(),
                     static_cast<int>(etat->lieu.line()));
}

bool PiloteModal::Fait() const
{
    return etat && etat->fait;
}

PiloteModal PiloteModal::Annuler(std::source_location lieu)
{
    return PiloteModal(
        [](QWidget* fenetre) {
            if (auto* dialogue = qobject_cast<QDialog*>(fenetre))
                dialogue->reject();
            else
                fenetre->close();
        },
        true, lieu);
}

void PiloteModal::MauvaiseFenetre(QWidget* fenetre)
{
    qFatal("PiloteModal: the modal window is a %s", fenetre->metaObject()->className());
}
