#include "ui/common/Clavier.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>

namespace {

class FiltreEntree : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (evenement->type() != QEvent::KeyPress)
            return false;
        const auto* touche = static_cast<QKeyEvent*>(evenement);
        const bool entree = touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter;
        if (!entree || (touche->modifiers() & ~Qt::KeypadModifier))
            return false;
        static_cast<QAbstractButton*>(objet)->click();
        return true;
    }
};

} // namespace

void EntreeSurBouton(QAbstractButton* bouton)
{
    if (auto* poussoir = qobject_cast<QPushButton*>(bouton))
        poussoir->setAutoDefault(false);
    bouton->installEventFilter(new FiltreEntree(bouton));
}
