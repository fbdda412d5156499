#pragma once

#include "ui/common/FicheEdition.h"

#include <QString>
#include <memory>

namespace Ui {
class TFicheContrainte;
}

// Chooses the operand, operator and value of one constraint. Writes nothing:
// the category window keeps the result until the category is saved. The
// constraint key (GetCle) is only carried along.
class TFicheContrainte : public TFicheEdition
{
    Q_OBJECT
public:
    explicit TFicheContrainte(QWidget* parent);
    ~TFicheContrainte() override;

    void SetIdOperande(const QString& valeur) { idOperande = valeur; }
    void SetOperateur(const QString& valeur) { operateur = valeur; }
    void SetValeur(const QString& valeur) { this->valeur = valeur; }

    const QString& GetIdOperande() const { return idOperande; }
    const QString& GetOperandeLibelle() const { return operandeLibelle; }
    const QString& GetOperateur() const { return operateur; }
    const QString& GetValeur() const { return valeur; }

protected:
    void Charger() override;
    bool Enregistrer() override;

private:
    std::unique_ptr<Ui::TFicheContrainte> ui;
    QString idOperande;
    QString operandeLibelle;
    QString operateur;
    QString valeur;
};
