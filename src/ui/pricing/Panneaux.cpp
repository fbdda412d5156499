#include "ui/pricing/Panneaux.h"

#include "model/Formats.h"
#include "pricing/Totaux.h"
#include "ui/choice/FichePoseChoix.h"
#include "ui/common/Fenetre.h"
#include "ui/common/ListeIcones.h"
#include "ui/pricing/DelegateLigne.h"
#include "ui/pricing/ModelesChiffrage.h"

#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QTreeView>

namespace {

// The 32 x 32 image of the kind icons and of the kind choice.
QIcon ImagePose()
{
    return QIcon(QStringLiteral(":/icons/pose.png"));
}

} // namespace

std::optional<QString> ChoisirPose(QWidget* parent, const QString& idPose)
{
    const QList<QIcon> images{ImagePose()};
    TFichePoseChoix choix(parent);
    choix.SetIdPose(idPose);
    choix.SetImages(&images);
    choix.ChargerListe();
    if (choix.exec() != QDialog::Accepted)
        return std::nullopt;
    return choix.GetIdPose();
}

void PreparerIconePose(QListWidget* icone)
{
    // One cell filling the view, so that the caption wraps under the icon.
    const int bord = 2 * icone->frameWidth() + 2;
    PreparerListeIcones(icone, QSize(icone->maximumWidth() - bord, icone->maximumHeight() - bord));
    AjouterIcone(icone, ImagePose(), QString());
    // Its one cell is never current: the box shows the focus around it.
    MontrerFocus(icone);
}

void EcrireLibelleIcone(QListWidget* icone, const QString& libelle)
{
    if (QListWidgetItem* element = icone->item(0)) {
        ChangerLibelleIcone(element, libelle);
        // The cell is laid out again around the new caption.
        icone->doItemsLayout();
    }
}

void AfficherMontants(const Montants& montants, QLabel* achat, QLabel* ht, QLabel* tva, QLabel* ttc)
{
    achat->setText(FormatMonetaire(montants.achat));
    ht->setText(FormatMonetaire(montants.ht));
    tva->setText(FormatMonetaire(montants.tva));
    ttc->setText(FormatMonetaire(montants.ttc));
}

QString TexteMarge(const std::optional<double>& taux)
{
    return taux ? FormatMonetaire(*taux) + QStringLiteral(" %") : QString();
}

// ---------------------------------------------------------------------------
// A list following the session

TListeSuivie::TListeSuivie(QTreeView* liste)
    : QObject(liste)
    , liste(liste)
{
    connect(liste->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TListeSuivie::SelectionChangee);
}

void TListeSuivie::Suivre(int rang)
{
    // The list the user is acting on shows what he did (a row he unselected
    // with Ctrl+click stays current, unselected).
    if (suivi)
        return;
    const QScopedValueRollback garde(suivi, true);
    const QModelIndex index = liste->model()->index(rang, 0);
    if (!index.isValid()) {
        liste->clearSelection();
        return;
    }
    liste->setCurrentIndex(index);
    liste->scrollTo(index);
}

int TListeSuivie::Selection() const
{
    const QModelIndexList selection = liste->selectionModel()->selectedRows();
    return selection.isEmpty() ? -1 : selection.first().row();
}

void TListeSuivie::SelectionChangee()
{
    if (suivi || suspendue)
        return;
    const int selection = Selection();
    const int rang = selection >= 0 ? selection : liste->currentIndex().row();
    const QScopedValueRollback garde(suivi, true);
    if (rang >= 0)
        emit Choisie(rang);
}

TListeSuivie* PreparerListe(QTreeView* vue, TModeleChiffrage* modele, std::initializer_list<int> largeurs)
{
    vue->setModel(modele);
    int colonne = 0;
    for (const int largeur : largeurs)
        vue->setColumnWidth(colonne++, largeur);
    vue->header()->setSectionsMovable(false);
    vue->header()->setStretchLastSection(false);
    // Its rows are drawn without the style's focus mark.
    new TDelegateLigne(vue);
    MontrerFocus(vue);
    modele->SuivreRepeintes(vue);
    return new TListeSuivie(vue);
}

// ---------------------------------------------------------------------------
// Events

FiltreEvenements::FiltreEvenements(QWidget* cible, std::function<bool(QEvent*)> action)
    : QObject(cible)
    , action(std::move(action))
{
    cible->installEventFilter(this);
}

bool FiltreEvenements::eventFilter(QObject*, QEvent* evenement)
{
    return action(evenement);
}

bool EstAppuiSouris(const QEvent* evenement)
{
    return evenement->type() == QEvent::MouseButtonPress || evenement->type() == QEvent::MouseButtonDblClick;
}
