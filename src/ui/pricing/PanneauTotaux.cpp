#include "ui/pricing/PanneauTotaux.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "pricing/SessionChiffrage.h"
#include "ui/common/Protection.h"
#include "ui/pricing/Panneaux.h"

#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QTimer>

namespace {

const QKeySequence kAllerAuSuivant(Qt::Key_F8);

// A bent arrow back (to undo) or, mirrored, forward (to redo).
QIcon IconeFleche(bool avant, const QColor& couleur)
{
    QIcon icone;
    for (const int taille : {24, 48}) {
        QPixmap image(taille, taille);
        image.fill(Qt::transparent);
        QPainter peintre(&image);
        peintre.setRenderHint(QPainter::Antialiasing);
        peintre.scale(taille / 24.0, taille / 24.0);
        if (avant) {
            peintre.translate(24, 0);
            peintre.scale(-1, 1);
        }
        peintre.setPen(QPen(couleur, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath trait;
        trait.moveTo(8, 9);
        trait.cubicTo(14, 9, 20, 10, 20, 15);
        trait.cubicTo(20, 19, 16, 20, 12, 20);
        peintre.drawPath(trait);
        peintre.setPen(Qt::NoPen);
        peintre.setBrush(couleur);
        peintre.drawPolygon(QPolygonF{QPointF(2, 9), QPointF(9, 3.5), QPointF(9, 14.5)});
        icone.addPixmap(image);
    }
    return icone;
}

// The keys of a standard action, and those the user may expect beside them.
QList<QKeySequence> Touches(QKeySequence::StandardKey action, const QList<QKeySequence>& aussi)
{
    QList<QKeySequence> touches = QKeySequence::keyBindings(action);
    for (const QKeySequence& touche : aussi) {
        if (!touches.contains(touche))
            touches << touche;
    }
    return touches;
}

QString Touche(const QKeySequence& touche)
{
    return touche.toString(QKeySequence::NativeText);
}

} // namespace

TPanneauTotaux::TPanneauTotaux(QWidget* parent)
    : QFrame(parent)
{
}

void TPanneauTotaux::Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui)
{
    this->session = &session;
    this->ui = &ui;
    ui.btnValider->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    PreparerPile();
    etiquetteReste = ui.lblResteAFaire;
    etiquetteReste->installEventFilter(this);
    etiquetteReste->setToolTip(
        QStringLiteral("Ce qui reste probablement à faire. Un clic, ou %1, va à la menuiserie ou à la ligne suivante à revoir.")
            .arg(Touche(kAllerAuSuivant)));
    Connecter(etiquetteReste, &QLabel::linkActivated, this, &TPanneauTotaux::AllerAuSuivant);
    Connecter(new QShortcut(kAllerAuSuivant, window()), &QShortcut::activated, this, &TPanneauTotaux::AllerAuSuivant);

    connect(&session, &TSessionChiffrage::TotauxChanges, this, [this] {
        AfficherTotaux();
        PlanifierReste();
    });
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TPanneauTotaux::PlanifierReste);
}

void TPanneauTotaux::PreparerPile()
{
    const QColor couleur = palette().color(QPalette::WindowText);
    ui->btnAnnuler->setIcon(IconeFleche(false, couleur));
    ui->btnRetablir->setIcon(IconeFleche(true, couleur));
    auto* annuler = new QShortcut(window());
    annuler->setKeys(QKeySequence::Undo);
    auto* retablir = new QShortcut(window());
    retablir->setKeys(Touches(QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    Connecter(ui->btnAnnuler, &QToolButton::clicked, this, &TPanneauTotaux::Annuler);
    Connecter(annuler, &QShortcut::activated, this, &TPanneauTotaux::Annuler);
    Connecter(ui->btnRetablir, &QToolButton::clicked, this, &TPanneauTotaux::Retablir);
    Connecter(retablir, &QShortcut::activated, this, &TPanneauTotaux::Retablir);
    const QUndoStack& pile = session->GetPile();
    for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&pile, signal, this, &TPanneauTotaux::AfficherPile);
    for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(&pile, signal, this, &TPanneauTotaux::AfficherPile);
    AfficherPile();
}

void TPanneauTotaux::AfficherPile()
{
    const QUndoStack& pile = session->GetPile();
    const QString annuler = pile.canUndo() ? QStringLiteral("Annuler : %1 (%2)")
                                                 .arg(pile.undoText(), Touche(QKeySequence(QKeySequence::Undo)))
                                           : QStringLiteral("Rien à annuler");
    const QString retablir = pile.canRedo() ? QStringLiteral("Rétablir : %1 (%2)")
                                                  .arg(pile.redoText(), Touche(QKeySequence(Qt::CTRL | Qt::Key_Y)))
                                            : QStringLiteral("Rien à rétablir");
    ui->btnAnnuler->setEnabled(pile.canUndo());
    ui->btnAnnuler->setToolTip(annuler);
    ui->btnAnnuler->setAccessibleName(annuler);
    ui->btnRetablir->setEnabled(pile.canRedo());
    ui->btnRetablir->setToolTip(retablir);
    ui->btnRetablir->setAccessibleName(retablir);
}

void TPanneauTotaux::Annuler()
{
    session->GetPile().undo();
}

void TPanneauTotaux::Retablir()
{
    session->GetPile().redo();
}

void TPanneauTotaux::AfficherTotaux()
{
    // Quote totals count each item by its "Quantite" property.
    const TotauxDevis totaux = session->Totaux();
    ui->lblTotalLivraisonHt->setText(FormatMonetaire(totaux.livraisonHt));
    ui->lblTotalMenuiseriesHt->setText(FormatMonetaire(totaux.menuiseriesHt));
    ui->lblTotalQuincailleriesHt->setText(FormatMonetaire(totaux.quincailleriesHt));
    ui->lblTotalQuincailleriesGlobalesHt->setText(FormatMonetaire(totaux.quincailleriesGlobalesHt));
    ui->lblTotalAchatHt->setText(FormatMonetaire(totaux.achatHt));
    ui->lblTotalHt->setText(FormatMonetaire(totaux.ht));
    ui->lblTotalTva->setText(FormatMonetaire(totaux.tva));
    ui->lblTotalTtc->setText(FormatMonetaire(totaux.ttc));
    ui->lblMargeDevis->setText(TexteMarge(session->MargeDevis()));
}

// ---------------------------------------------------------------------------
// What is left to do

void TPanneauTotaux::PlanifierReste()
{
    // Once for all the changes of an action: it asks the database.
    if (std::exchange(restePlanifie, true))
        return;
    QTimer::singleShot(0, this, [this] { Proteger(this, [this] { AfficherReste(); }); });
}

void TPanneauTotaux::AfficherReste()
{
    restePlanifie = false;
    reste = TexteResteAFaire(session->Reste());
    EcrireReste();
}

void TPanneauTotaux::EcrireReste()
{
    // Cut to the room there is; the tooltip says what a click does.
    const QString texte = etiquetteReste->fontMetrics().elidedText(reste, Qt::ElideRight, etiquetteReste->width());
    etiquetteReste->setText(reste.isEmpty() ? QString()
                                            : QStringLiteral("<a href=\"suivant\">%1</a>").arg(texte.toHtmlEscaped()));
    etiquetteReste->setAccessibleName(reste);
}

bool TPanneauTotaux::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == etiquetteReste && evenement->type() == QEvent::Resize)
        EcrireReste();
    return QFrame::eventFilter(objet, evenement);
}

void TPanneauTotaux::AllerAuSuivant()
{
    const std::optional<ResteAFaire::Position> suivante =
        session->Reste().Suivante(session->GetIndexMenuiserie(), session->GetIndexTarif());
    if (!suivante)
        return;
    if (suivante->menuiserie != session->GetIndexMenuiserie())
        session->SetMenuiserieCourante(suivante->menuiserie);
    session->SetTarifCourant(suivante->tarif);
}
