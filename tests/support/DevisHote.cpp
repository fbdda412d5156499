#include "DevisHote.h"

#include "model/Encodage.h"

QString Tarif(const QString& id, const QString& libelle, const QString& prix, int typeTva, const QString& taux,
              const QString& poseur, const QString& quincailleries)
{
    return QStringLiteral("<tarif id=\"%1\" libelle=\"%2\" prix=\"%3\" quincaillerie_incluse=\"1\" code_export=\"\">"
                          "<poseur id=\"%4\" nom=\"Nom stocké\" prix=\"0,00\" siret=\"\" rge=\"\"/>"
                          "<tva type_tva=\"%5\" libelle=\"\" valeur=\"%6\"/>"
                          "<quincailleries>%7</quincailleries></tarif>")
        .arg(id, libelle, prix, poseur, QString::number(typeTva), taux, quincailleries);
}

QString Quincaillerie(const QString& vente, const QString& achat, const QString& quantite)
{
    return QStringLiteral("<quincaillerie id=\"1\" libelle=\"Vis\" libelle2=\"\" tarif_vente=\"%1\" "
                          "tarif_achat=\"%2\" nb_pieces=\"1,00\" nb_pieces_ml=\"1,00\" quantite=\"%3\" "
                          "secable=\"1\" code_export=\"\"/>")
        .arg(vente, achat, quantite);
}

QString PoseGlobale(const QString& id, const QString& libelle, int typeTva, const QString& taux,
                    const QString& options)
{
    return QStringLiteral("<pose id=\"%1\" libelle=\"%2\" code_export=\"EXP\">%5"
                          "<tva type_tva=\"%3\" libelle=\"\" valeur=\"%4\"/></pose>")
        .arg(id, libelle, QString::number(typeTva), taux, options);
}

QString Option(const QString& nom, bool choix, const QString& prix)
{
    return QStringLiteral(" <%1 choix=\"%2\" prix=\"%3\" code_export=\"\"/>").arg(nom, choix ? "1" : "0", prix);
}

QString Menuiseries(const QList<Article>& articles)
{
    QString texte = QStringLiteral("<menuiseries>");
    for (const Article& article : articles) {
        texte += QStringLiteral("<menuiserie code=\"M\" libelle=\"%1\" description=\"%2\" quantite=\"%3\">")
                     .arg(article.libelle, article.description, article.quantite);
        texte += article.pose + QStringLiteral("<proprietes>");
        for (const auto& [id, valeur] : article.proprietes)
            texte += QStringLiteral("<propriete id=\"%1\" valeur=\"%2\"></propriete>").arg(id, valeur);
        texte += QStringLiteral("</proprietes><tarifs>") + article.tarifs + QStringLiteral("</tarifs></menuiserie>");
    }
    return texte + QStringLiteral("</menuiseries>");
}

QByteArray Document(const QString& corps)
{
    return EncoderCp1252(QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<Quarlo>") + corps
                         + QStringLiteral("</Quarlo>\n"));
}
