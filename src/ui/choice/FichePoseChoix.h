#pragma once

// "Choix de la pose": the installation kinds as icons, in label order; the
// user picks one with "Valider".

#include "ui/common/FicheChoix.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <memory>

namespace Ui {
class TFichePoseChoix;
}

class TFichePoseChoix : public TFicheChoix
{
    Q_OBJECT

public:
    explicit TFichePoseChoix(QWidget* parent);
    ~TFichePoseChoix() override;

    // The kind to preselect; empty selects the first label.
    void SetIdPose(const QString& id) { idPose = id; }
    // The caller's 32 x 32 image list (not owned; it must outlive
    // ChargerListe): every row shows its first image. Null: the dialog's own.
    void SetImages(const QList<QIcon>* liste) { images = liste; }
    // ChargerListe() fills the list; the caller calls it after the two setters.
    // The chosen kind, after the result Accepted.
    const QString& GetIdPose() const { return idPose; }

    void btnValiderClick();

protected:
    void RemplirListe() override;
    void Retenir(const QModelIndex& ligne) override;

private:
    std::unique_ptr<Ui::TFichePoseChoix> ui;
    QString idPose;
    const QList<QIcon>* images = nullptr;
    QIcon imagePropre;

    QIcon ImageLigne() const;
};
