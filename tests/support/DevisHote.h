#pragma once

// Exchange files written as the host writes them (Windows-1252): builders
// for their elements, then the whole document.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

struct Article
{
    QString libelle;
    QList<std::pair<QString, QString>> proprietes;
    QString tarifs;         // <tarif> elements
    QString quantite = {};  // the quantite attribute
    QString pose = {};      // the item's <pose> element
    QString description = {};
};

QString Tarif(const QString& id, const QString& libelle, const QString& prix, int typeTva, const QString& taux,
              const QString& poseur = QString(), const QString& quincailleries = QString());
QString Quincaillerie(const QString& vente, const QString& achat, const QString& quantite);
QString PoseGlobale(const QString& id, const QString& libelle, int typeTva, const QString& taux,
                    const QString& options);
QString Option(const QString& nom, bool choix, const QString& prix);
QString Menuiseries(const QList<Article>& articles);
QByteArray Document(const QString& corps);
