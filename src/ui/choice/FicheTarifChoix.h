#pragma once

// "Choix du tarif": the general tariffs of an installation kind whose
// category suits the joinery item, one of which the user picks by
// double-click. The header shows the item's dimensions; the header and the
// list are rebuilt each time the window becomes active.

#include <QDialog>
#include <QHash>
#include <QString>
#include <memory>

class TMenuiserie;

namespace Ui {
class TFicheTarifChoix;
}

class TFicheTarifChoix : public QDialog
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

    void done(int resultat) override;

protected:
    bool event(QEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;
    void hideEvent(QHideEvent* evenement) override;

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

    // Activation runs once per showing or return to the window, whichever
    // of the show and the activate events comes first.
    bool activationFaite = false;
    bool activationEnCours = false;
    // The text of the last error reported at activation: the same error is
    // not reported again when the window becomes active after its message
    // box closes, which would otherwise never end.
    QString derniereErreurActivation;

    void Activer();
    void FormActivate();
    void AfficherDimensions();
    void RemplirListe();
    QHash<QString, QString> LibellesCategories();

    void cbSansFiltrageClick();
    void lvListeDblClick();
};
