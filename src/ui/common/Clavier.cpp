#include "ui/common/Clavier.h"

#include <QAbstractButton>
#include <QAbstractItemView>
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

class FiltreSuppr : public QObject
{
public:
    explicit FiltreSuppr(QAbstractItemView* grille)
        : QObject(grille)
        , grille(grille)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* evenement) override
    {
        if (evenement->type() != QEvent::KeyPress)
            return false;
        const auto* touche = static_cast<QKeyEvent*>(evenement);
        if (touche->key() != Qt::Key_Delete || (touche->modifiers() & ~Qt::KeypadModifier))
            return false;
        // An open editor keeps the key for its own text.
        const QModelIndex cellule = grille->currentIndex();
        if (grille->indexWidget(cellule) || !(cellule.flags() & Qt::ItemIsEditable))
            return false;
        grille->model()->setData(cellule, QString(), Qt::EditRole);
        return true;
    }

private:
    QAbstractItemView* grille;
};

} // namespace

void EntreeSurBouton(QAbstractButton* bouton)
{
    if (auto* poussoir = qobject_cast<QPushButton*>(bouton))
        poussoir->setAutoDefault(false);
    bouton->installEventFilter(new FiltreEntree(bouton));
}

void EffacerParSuppr(QAbstractItemView* grille)
{
    grille->installEventFilter(new FiltreSuppr(grille));
}
