#pragma once

// The quote-wide hardware: its four amounts, and "Modifier", which opens
// its detail on every item of the quote.

#include <QGroupBox>

class TSessionChiffrage;

namespace Ui {
class TFicheModeNormal;
}

class TPanneauQuincaillerieGlobale : public QGroupBox
{
    Q_OBJECT

public:
    explicit TPanneauQuincaillerieGlobale(QWidget* parent);
    void Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui);

private:
    TSessionChiffrage* session = nullptr;
    Ui::TFicheModeNormal* ui = nullptr;

    void Afficher();
    void btnQuincailleriesGlobalesClick();
};
