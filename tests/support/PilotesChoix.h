#pragma once

// Pilots that make a choice in the choice dialogs the pricing screen opens.
// Header only: a test that includes it links the choice dialogs itself.

#include "OutilsFenetres.h"
#include "PiloteModal.h"

#include "ui/choice/FichePoseChoix.h"
#include "ui/choice/FichePoseurChoix.h"
#include "ui/choice/FicheTarifChoix.h"
#include "ui/common/ObjectCode.h"

#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

// Picks the installation kind of that key and presses "Valider".
[[nodiscard]] inline PiloteModal ChoisirPose(const QString& idPose)
{
    return PiloteModal::QuandOuvert<TFichePoseChoix>([idPose](TFichePoseChoix* choix) {
        auto* liste = Controle<QListWidget>(choix, QStringLiteral("lvListe"));
        for (int i = 0; i < liste->count(); ++i) {
            if (GetCode(liste->item(i)) == idPose)
                liste->setCurrentRow(i);
        }
        QTest::mouseClick(Controle<QPushButton>(choix, QStringLiteral("btnValider")), Qt::LeftButton);
    });
}

// Double-clicks the tariff of that label.
[[nodiscard]] inline PiloteModal ChoisirTarif(const QString& libelle)
{
    return PiloteModal::QuandOuvert<TFicheTarifChoix>([libelle](TFicheTarifChoix* choix) {
        QTreeWidget* liste = Liste(choix);
        SelectionnerLigne(liste, libelle);
        QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {},
                           liste->visualItemRect(liste->currentItem()).center());
    });
}

// Clicks the installer of that code.
[[nodiscard]] inline PiloteModal ChoisirPoseur(const QString& code)
{
    return PiloteModal::QuandOuvert<TFichePoseurChoix>([code](TFichePoseurChoix* choix) {
        QTreeWidget* liste = Liste(choix);
        SelectionnerLigne(liste, code);
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                          liste->visualItemRect(liste->currentItem()).center());
    });
}
