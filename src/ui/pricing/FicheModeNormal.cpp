#include "ui/pricing/FicheModeNormal.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// Placeholder until the pricing screen is built: it writes nothing.
TFicheModeNormal::TFicheModeNormal(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FicheModeNormal"));
    setWindowTitle(QStringLiteral("Quarlo "));
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(new QLabel(
        QStringLiteral("L'écran de chiffrage n'est pas encore disponible."), this));
    auto* fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("btnFermer"));
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
    disposition->addWidget(fermer);
}

TFicheModeNormal::~TFicheModeNormal() = default;
