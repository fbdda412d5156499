#include "PiloteModal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

std::shared_ptr<bool> PiloteModal::QuandOuvert(std::function<void(QWidget*)> action, int delaiMaxMs)
{
    auto fait = std::make_shared<bool>(false);
    QPointer<QWidget> dejaOuvert = QApplication::activeModalWidget();
    auto* minuterie = new QTimer(qApp);
    auto chrono = std::make_shared<QElapsedTimer>();
    chrono->start();
    minuterie->setInterval(5);
    QObject::connect(minuterie, &QTimer::timeout, minuterie,
                     [=]() mutable {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal && modal != dejaOuvert && modal->isVisible()) {
                             minuterie->stop();
                             minuterie->deleteLater();
                             *fait = true;
                             action(modal);
                             return;
                         }
                         if (chrono->elapsed() > delaiMaxMs) {
                             minuterie->stop();
                             minuterie->deleteLater();
                             qWarning("PiloteModal: no modal window appeared");
                         }
                     });
    minuterie->start();
    return fait;
}

std::shared_ptr<bool> PiloteModal::Annuler()
{
    return QuandOuvert([](QWidget* w) {
        if (auto* dialogue = qobject_cast<QDialog*>(w))
            dialogue->reject();
        else
            w->close();
    });
}

bool AucuneFenetreOuverte()
{
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            return false;
    }
    return true;
}
