#include "ui/common/Fenetre.h"

#include "ui/common/Ressources.h"

#include <QEvent>
#include <QFocusFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

namespace {

// The frame a window manager puts around a window, when none is known yet:
// the title bar and borders of the widest usual desktops.
constexpr QMargins kCadreParDefaut(8, 31, 8, 8);

// The frame of the nearest shown window among the window's owners.
QMargins CadreConnu(const QWidget* fenetre)
{
    for (const QWidget* proprietaire = fenetre->parentWidget(); proprietaire;
         proprietaire = proprietaire->window()->parentWidget()) {
        const QWidget* cadre = proprietaire->window();
        if (!cadre->isVisible())
            continue;
        const QRect exterieur = cadre->frameGeometry();
        const QRect interieur = cadre->geometry();
        const QMargins marges(interieur.left() - exterieur.left(), interieur.top() - exterieur.top(),
                              exterieur.right() - interieur.right(), exterieur.bottom() - interieur.bottom());
        if (marges.top() > 0)
            return marges;
    }
    return kCadreParDefaut;
}

const QScreen* EcranDe(const QWidget* fenetre)
{
    if (const QWidget* proprietaire = fenetre->parentWidget())
        return proprietaire->window()->screen();
    return QGuiApplication::primaryScreen();
}

// What the panels in scroll areas lack to show at their size `taille`
// (minimumSizeHint: whole; sizeHint: at ease). The form's size was drawn for
// other fonts and styles, and a screen with room shows them.
QSize ManqueDesPanneaux(const QWidget* fenetre, QSize (QWidget::*taille)() const)
{
    QSize manque(0, 0);
    for (const QScrollArea* zone : fenetre->findChildren<QScrollArea*>()) {
        if (!zone->widgetResizable() || !zone->widget() || zone->window() != fenetre)
            continue;
        const QSize ecart = (zone->widget()->*taille)() - zone->viewport()->size();
        manque = manque.expandedTo(ecart);
    }
    return manque;
}

// At the first showing, before the window is placed: the size of the form,
// or the room the screen has.
class Dimensionnement : public QObject
{
public:
    explicit Dimensionnement(QWidget* fenetre)
        : QObject(fenetre)
        , fenetre(fenetre)
    {
        fenetre->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::Show && !evenement->spontaneous()) {
            Dimensionner();
            // The control that has the focus shows it from the start, not
            // only once a key has moved it: the keyboard user sees where he is.
            fenetre->setAttribute(Qt::WA_KeyboardFocusChange);
            fenetre->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* fenetre;

    void Dimensionner()
    {
        const QScreen* ecran = EcranDe(fenetre);
        if (!ecran)
            return;
        const QSize place = ecran->availableGeometry().marginsRemoved(CadreConnu(fenetre)).size();
        const QSize voulue = fenetre->size() + ManqueDesPanneaux(fenetre, &QWidget::minimumSizeHint);
        fenetre->resize(voulue.boundedTo(place).expandedTo(fenetre->minimumSize()));
    }
};

} // namespace

void PreparerFenetre(QWidget* fenetre)
{
    fenetre->setWindowIcon(IconeProgramme());
    new Dimensionnement(fenetre);
}

namespace {

// Puts the frame around the control while it has the focus. The frame moves
// to the parent the style wants it in, which may be destroyed before the
// control (whose destruction still moves the focus): hence the guard.
class SuiviFocus : public QObject
{
public:
    explicit SuiviFocus(QWidget* controle)
        : QObject(controle)
        , cadre(new QFocusFrame(controle->parentWidget()))
    {
        cadre->hide();
        controle->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (!cadre)
            return false;
        if (evenement->type() == QEvent::FocusIn)
            cadre->setWidget(static_cast<QWidget*>(objet));
        else if (evenement->type() == QEvent::FocusOut || evenement->type() == QEvent::Hide)
            cadre->setWidget(nullptr);
        return false;
    }

private:
    QPointer<QFocusFrame> cadre;
};

} // namespace

void AjusterAuContenu(QWidget* fenetre)
{
    const QSize manque = ManqueDesPanneaux(fenetre, &QWidget::sizeHint);
    const QScreen* ecran = fenetre->screen();
    if (!ecran || (manque.width() <= 0 && manque.height() <= 0))
        return;
    const QRect place = ecran->availableGeometry();
    const QMargins marges = CadreConnu(fenetre);
    const QRect cadre = fenetre->geometry().marginsAdded(marges);
    const QSize voulue = (fenetre->size() + manque).boundedTo(place.marginsRemoved(marges).size());
    if (voulue.width() <= fenetre->width() && voulue.height() <= fenetre->height())
        return;
    fenetre->resize(voulue.expandedTo(fenetre->size()));
    // Moved back by what the growth pushed past the screen's edges.
    const QRect agrandi(cadre.topLeft(), fenetre->size().grownBy(marges));
    const QPoint retour(qMin(0, place.right() - agrandi.right()), qMin(0, place.bottom() - agrandi.bottom()));
    if (!retour.isNull())
        fenetre->move(fenetre->pos() + retour);
}

void MontrerFocus(QWidget* controle)
{
    new SuiviFocus(controle);
}
