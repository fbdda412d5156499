#pragma once

// The pricing screen of the CREATION and MAJ modes: the items of the host's
// quote, their installation lines, the quote's default installation kind
// with its delivery surcharges, the VAT of lines and items, and every total.
// It shows the pricing session, its document, through panels that each show
// one concern of it and forward the user's actions to it. The screen opens
// the session at its first activation (offering back an interrupted one),
// and ends it: only "Valider" writes the answer; closing after changes asks
// first.

#include "pricing/SessionChiffrage.h"

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TFicheModeNormal;
}

class TFicheModeNormal : public QDialog
{
    Q_OBJECT

public:
    explicit TFicheModeNormal(QWidget* parent);
    ~TFicheModeNormal() override;

    void SetFichierEchange(const QString& fichier) { session.SetFichierEchange(fichier); }
    const QString& GetFichierEchange() const { return session.GetFichierEchange(); }

    // What the screen shows, read by the host's launcher and by tests.
    const TSessionChiffrage& GetSession() const { return session; }
    bool GetPremiereActivation() const { return premiereActivation; }

    void done(int resultat) override;

protected:
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    std::unique_ptr<Ui::TFicheModeNormal> ui;
    TSessionChiffrage session;
    bool premiereActivation = true;
    bool activationPlanifiee = false;

    void PreparerControles();

    // First activation.
    void FormActivate();
    TSessionChiffrage::Interlocuteur Interlocuteur();
    void AbandonnerChargement(const QString& probleme);

    // What the user typed or chose and has not left yet counts before the
    // screen writes or drops the quote; false when a typed price was refused.
    bool ValiderSaisies();
    void btnValiderClick();
    void FormClose();
};
