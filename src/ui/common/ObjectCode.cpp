#include "ui/common/ObjectCode.h"

#include "data/TableTva.h"

#include <QComboBox>
#include <QListWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

// Clears a view in one repaint, keeping the caller's own update state.
template <class Vue>
void ViderSansRepeindre(Vue* vue)
{
    const bool actives = vue->updatesEnabled();
    vue->setUpdatesEnabled(false);
    vue->clear();
    vue->setUpdatesEnabled(actives);
}

} // namespace

void AjouterEntree(QComboBox* combo, const QString& texte, const QString& code)
{
    combo->addItem(texte, QVariant(code));
}

void SelectionnerCode(QComboBox* combo, const QString& code)
{
    for (int i = 0; i < combo->count(); ++i) {
        const QVariant donnee = combo->itemData(i, Qt::UserRole);
        if (donnee.isValid() && donnee.toString() == code) {
            // setCurrentIndex does not emit activated(): handlers of user
            // choices do not run for a programmatic selection.
            combo->setCurrentIndex(i);
            return;
        }
    }
}

QString GetCodeCombo(QComboBox* combo, int index)
{
    if (index < 0 || index >= combo->count())
        return QString(QLatin1String(""));
    return combo->itemData(index, Qt::UserRole).toString();
}

QString GetCodeSelection(QComboBox* combo)
{
    return GetCodeCombo(combo, combo->currentIndex());
}

void ViderCombo(QComboBox* combo)
{
    combo->clear();
}

void RemplirComboTva(QComboBox* combo)
{
    for (const LigneTva& ligne : TableTva::Lignes())
        AjouterEntree(combo, ligne.libelle, QString::number(ligne.typeTva));
}

void SetCode(QTreeWidgetItem* ligne, const QString& code)
{
    ligne->setData(0, Qt::UserRole, QVariant(code));
}

QString GetCode(const QTreeWidgetItem* ligne)
{
    return ligne ? ligne->data(0, Qt::UserRole).toString() : QString(QLatin1String(""));
}

bool ACode(const QTreeWidgetItem* ligne)
{
    return ligne && ligne->data(0, Qt::UserRole).isValid();
}

void SetCode(QListWidgetItem* ligne, const QString& code)
{
    ligne->setData(Qt::UserRole, QVariant(code));
}

QString GetCode(const QListWidgetItem* ligne)
{
    return ligne ? ligne->data(Qt::UserRole).toString() : QString(QLatin1String(""));
}

void SetCode(QTableWidgetItem* cellule, const QString& code)
{
    cellule->setData(Qt::UserRole, QVariant(code));
}

QString GetCode(const QTableWidgetItem* cellule)
{
    return cellule ? cellule->data(Qt::UserRole).toString() : QString(QLatin1String(""));
}

bool ACode(const QTableWidgetItem* cellule)
{
    return cellule && cellule->data(Qt::UserRole).isValid();
}

QString GetCode(const QModelIndex& ligne)
{
    return ligne.isValid() ? ligne.siblingAtColumn(0).data(Qt::UserRole).toString()
                           : QString(QLatin1String(""));
}

void ViderListe(QTreeWidget* liste)
{
    ViderSansRepeindre(liste);
}

void ViderListe(QListWidget* liste)
{
    ViderSansRepeindre(liste);
}

void ViderListe(QAbstractItemView* liste)
{
    if (auto* rapport = qobject_cast<QTreeWidget*>(liste))
        ViderListe(rapport);
    else if (auto* icones = qobject_cast<QListWidget*>(liste))
        ViderListe(icones);
}
