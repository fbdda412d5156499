#include "ui/common/SuiteDuClic.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>

namespace {

class Absorbeur : public QObject
{
public:
    explicit Absorbeur(const GesteSouris& geste)
        : QObject(qApp)
        , position(geste.position)
        , secondClicAttendu(!geste.double_)
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(QApplication::doubleClickInterval(), this, [this] { Terminer(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* evenement) override
    {
        const QEvent::Type type = evenement->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
            return false;
        if (!Ici(static_cast<QMouseEvent*>(evenement)->globalPosition().toPoint())) {
            Terminer();
            return false;
        }
        if (type != QEvent::MouseButtonRelease)
            secondClicAttendu = false;
        else if (!secondClicAttendu)
            Terminer(); // the gesture's last release
        return true;
    }

private:
    QPoint position;
    bool secondClicAttendu;
    bool termine = false;

    void Terminer()
    {
        if (!termine) {
            termine = true;
            qApp->removeEventFilter(this);
            deleteLater();
        }
    }

    bool Ici(const QPoint& clic) const
    {
        return (clic - position).manhattanLength() <= QApplication::startDragDistance();
    }
};

} // namespace

void AbsorberSuiteDuClic(const GesteSouris& geste)
{
    new Absorbeur(geste);
}
