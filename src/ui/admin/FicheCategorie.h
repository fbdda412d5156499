#pragma once

#include "data/Categories.h"
#include "ui/common/FicheEdition.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

namespace Ui {
class TFicheCategorie;
}
class QTreeWidgetItem;

// Edits a category and its constraints. Constraint rows are kept in the
// window (rows read from the database carry their key, new ones none) and
// written, with the removals, only when the category is saved.
class TFicheCategorie : public TFicheEdition
{
    Q_OBJECT
public:
    explicit TFicheCategorie(QWidget* parent);
    ~TFicheCategorie() override;

    void cmbCategorieTypeChange();
    void edtCategorieLibelleChange();
    void btnContraintesAjouterClick();
    void btnModifierClick();
    void btnContraintesSupprimerClick();

protected:
    void Charger() override;
    bool Enregistrer() override;

private:
    std::unique_ptr<Ui::TFicheCategorie> ui;
    // Keys of stored constraints removed from the list, deleted on saving.
    QStringList contraintesSupprimees;
    // The category and its constraints as read, which a save writes over.
    std::optional<Categories::CategorieLue> lue;

    void ChargerCategorie();
    void AfficherContraintes(const QVector<Categories::Contrainte>& contraintes);
    void AfficherApercu();
    // The constraint rows as they stand in the list.
    QVector<Categories::Contrainte> Contraintes() const;
};
