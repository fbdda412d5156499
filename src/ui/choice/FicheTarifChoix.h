#pragma once

// "Choix du tarif": the general tariffs of an installation kind whose
// category suits the joinery item, one of which the user picks by
// double-click. The header shows the item's dimensions; the header and the
// list are rebuilt each time the window becomes active.

#include "ui/common/FicheChoix.h"

#include <QString>
#include <memory>

class TMenuiserie;

namespace Ui {
class TFicheTarifChoix;
}

class TFicheTarifChoix : public TFicheChoix
{
    Q_OBJECT

public:
    explicit TFicheTarifChoix(QWidget* parent);
    ~TFicheTarifChoix() override;

    // The item to price (not owned); set before showing.
    void SetMenuiserie(const TMenuiserie* menuiserie);
    void SetMenuiserie(const TMenuiserie& menuiserie) { SetMenuiserie(&menuiserie); }
    // The tariff to preselect (empty: none).
    void SetIdTarif(const QString& id) { idTarif = id; }
    // The installation kind whose tariffs are listed.
    void SetIdPose(const QString& id) { idPose = id; }

    // Read after the result Accepted.
    const QString& GetIdTarif() const { return idTarif; }
    const QString& GetLibelle() const { return libelle; }
    double GetPrix() const { return prix; }

    void cbSansFiltrageClick();
    void lvListeDblClick();

protected:
    void FormActivate() override;
    void RemplirListe() override;
    void Retenir(const QModelIndex& ligne) override;

private:
    std::unique_ptr<Ui::TFicheTarifChoix> ui;
    const TMenuiserie* menuiserie = nullptr;
    QString idPose;
    QString idTarif;
    QString libelle;
    double prix = 0.0;
    int hauteur = 0;
    int largeur = 0;
    int vantail = 0;

    void AfficherDimensions();
};
