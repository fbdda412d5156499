#pragma once

#include "ui/admin/FicheEdition.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace Ui {
class TFicheCategorie;
}
class QTreeWidgetItem;

// The name under which a category is shown: the label of its type, one
// space and its own label; its own label alone when it has no type or its
// type is not found.
QString NomCategorieAffiche(const std::optional<QString>& typeLibelle, const QString& libelle);

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

    void ChargerCategorie();
    void ChargerContraintes();
    void AfficherApercu();
    // Writes the category and its constraints; returns the category's key.
    QString EcrireCategorie(const QString& libelle, const QString& typeCle);
    void EcrireContraintes(const QString& categorieCle);
};
