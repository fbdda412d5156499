#pragma once

// The quote's default installation kind with its VAT, "Prise de côte", and
// the four delivery surcharges: their boxes and their prices. A price
// counts once typed (Enter, or the field left); one that is no number is
// refused with the option's message.

#include "model/Pose.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class TSessionChiffrage;

namespace Ui {
class TFicheModeNormal;
}

class TPanneauPoseDevis : public QWidget
{
    Q_OBJECT

public:
    using OptionLivraison = TPoseLivraison::OptionLivraison;

    explicit TPanneauPoseDevis(QWidget* parent);
    void Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui);

    // A price being typed counts before the screen acts on the quote
    // ("Valider", closing); false when one was refused.
    bool ValiderSaisies();

private:
    TSessionChiffrage* session = nullptr;
    Ui::TFicheModeNormal* ui = nullptr;

    void AfficherPose();
    void AfficherOptions();
    void AfficherPrix();
    void AfficherPriseDeCote();

    void lvPoseClick();
    void ProposerTarifsAutomatiques();
    void cbLivraisonClick(OptionLivraison option);
    bool edtLivraisonExit(OptionLivraison option);
    void cbPriseDeCoteClick();

    QCheckBox* CaseLivraison(OptionLivraison option) const;
    QLineEdit* EditLivraison(OptionLivraison option) const;
};
