#include "ui/admin/FicheAdministration.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// Placeholder until the maintenance windows are built.
TFicheAdministration::TFicheAdministration(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FicheAdministration"));
    setWindowTitle(QStringLiteral("Trelvane - Quarlo - Administration"));
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(new QLabel(
        QStringLiteral("Les fenêtres d'administration ne sont pas encore disponibles."), this));
    auto* fermer = new QPushButton(QStringLiteral("Fermer"), this);
    fermer->setObjectName(QStringLiteral("btnFermer"));
    connect(fermer, &QPushButton::clicked, this, &QDialog::reject);
    disposition->addWidget(fermer);
}

TFicheAdministration::~TFicheAdministration() = default;
