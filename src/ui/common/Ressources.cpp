#include "ui/common/Ressources.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QtGlobal>

void ChargerRessources()
{
    static const bool chargees = [] {
        Q_INIT_RESOURCE(quarlo);
        return true;
    }();
    Q_UNUSED(chargees);
}

QIcon IconeProgramme()
{
    ChargerRessources();
    QIcon icone;
    for (const int taille : {16, 24, 32, 48, 64, 128})
        icone.addFile(QStringLiteral(":/icons/quarlo-%1.png").arg(taille), QSize(taille, taille));
    return icone;
}

namespace {

// Scales the picture again whenever the label's size changes.
class AjustementImage : public QObject
{
public:
    AjustementImage(QLabel* image, const QPixmap& source)
        : QObject(image)
        , image(image)
        , source(source)
    {
        image->installEventFilter(this);
        // Until its layout gives it its room, the label is meant for the
        // picture's largest size.
        const QSize plusGrande = image->maximumSize();
        if (plusGrande.width() < QWIDGETSIZE_MAX && plusGrande.height() < QWIDGETSIZE_MAX)
            Ajuster(plusGrande);
    }

protected:
    bool eventFilter(QObject*, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::Resize || evenement->type() == QEvent::ScreenChangeInternal)
            Ajuster(image->contentsRect().size());
        return false;
    }

private:
    QLabel* image;
    QPixmap source;

    // The picture stretched over the room, its proportions kept.
    void Ajuster(const QSize& place)
    {
        if (place.isEmpty())
            return;
        const qreal densite = image->devicePixelRatioF();
        QPixmap adaptee = source.scaled(place * densite, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        adaptee.setDevicePixelRatio(densite);
        image->setPixmap(adaptee);
    }
};

} // namespace

void AfficherImageProportionnelle(QLabel* image, const QPixmap& source)
{
    image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    image->setAlignment(Qt::AlignCenter);
    new AjustementImage(image, source);
}
