#include "ui/common/FicheChoix.h"

#include "ui/common/DelegateTexte.h"
#include "ui/common/Fenetre.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"
#include "ui/common/Protection.h"
#include "ui/common/SuiviClicsListe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QTreeView>

TFicheChoix::TFicheChoix(QWidget* parent)
    : TFicheActivable(parent)
{
}

void TFicheChoix::Installer(QAbstractItemView* vue, QAbstractButton* fermer, const QString& message)
{
    liste = vue;
    clics = new SuiviClicsListe(vue);
    PreparerFenetre(this);
    // Report lists show cut texts whole in their tooltips, as every list does.
    if (qobject_cast<QTreeView*>(vue) && !dynamic_cast<TDelegateTexte*>(vue->itemDelegate()))
        new TDelegateTexte(vue);
    messageSansSelection = message;
    Connecter(fermer, &QAbstractButton::clicked, this, &QDialog::reject);
}

void TFicheChoix::ChargerListe()
{
    ViderListe(liste);
    chargee = false;
    RemplirListe();
    chargee = true;
}

void TFicheChoix::FormActivate()
{
    if (!chargee)
        ChargerListe();
}

void TFicheChoix::Choisir()
{
    const QModelIndexList selection = liste->selectionModel()->selectedIndexes();
    if (selection.isEmpty()) {
        Messages::Information(messageSansSelection, this);
        return;
    }
    Retenir(selection.first().siblingAtColumn(0));
    accept();
    // A pick made with the mouse hands the screen behind back under the pointer.
    if (clics->Geste())
        AbsorberSuiteDuClic(*clics->Geste());
}

void TFicheChoix::done(int resultat)
{
    ViderListe(liste);
    chargee = false;
    QDialog::done(resultat);
}
