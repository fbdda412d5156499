// The XML document layer on any bytes: reading never fails other than with
// ErreurXml, every query of a document read works, and what the layer writes
// it reads back to the same document.

#include "Cible.h"

#include "model/Xml.h"

#include <algorithm>
#include <functional>

namespace {

// Walks the elements, asks each one what the exchange reader asks, and
// checks that a search by full path finds an element of that path.
void Parcourir(const TXmlDocument& document)
{
    const TXmlNode* racine = document.GetRoot();
    cible::Exiger(racine != nullptr && racine->GetType() == TXmlNodeType::Element, "un document lu a une racine");
    int visites = 0;
    std::function<void(const TXmlNode&)> visiter = [&](const TXmlNode& noeud) {
        if (++visites > 2000)
            return;
        for (int i = 0; i < noeud.AttributeCount(); ++i) {
            const QString nom = noeud.AttributeName(i);
            cible::Exiger(noeud.HasAttribute(nom), "un attribut lu se retrouve par son nom", nom);
            noeud.GetAttributeByName(nom);
        }
        if (&noeud != racine && noeud.GetType() == TXmlNodeType::Element) {
            // The first element of that path, which may be an earlier namesake.
            const QString chemin = noeud.FullPath();
            const TXmlNode* trouve = racine->FindNode(chemin);
            cible::Exiger(trouve != nullptr && trouve->FullPath().compare(chemin, Qt::CaseInsensitive) == 0,
                          "un élément se retrouve par son chemin complet", chemin);
            TXmlNodeList memeNom;
            noeud.GetParent()->NodesByName(noeud.GetName(), memeNom);
            cible::Exiger(std::find(memeNom.begin(), memeNom.end(), &noeud) != memeNom.end(),
                          "un élément est parmi les enfants de son nom", chemin);
        }
        for (int i = 0; i < noeud.ChildCount(); ++i)
            visiter(*noeud.GetChild(i));
    };
    visiter(*racine);
    for (const char16_t* nom : {u"pose", u"tva", u"menuiseries", u"/Quarlo/pose/tva", u"/quarlo/menuiseries"})
        racine->FindNode(QStringView(nom));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    cible::RegionFrancaise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille)
{
    TXmlDocument document;
    try {
        document.ReadFromBytes(cible::Octets(donnees, taille));
    } catch (const ErreurXml& erreur) {
        cible::Exiger(!erreur.Message().isEmpty(), "une erreur de lecture a un message");
        return 0;
    }
    Parcourir(document);

    // The text written reads back to a document written the same way.
    const QString texte = document.SaveToString();
    TXmlDocument relu;
    try {
        relu.ReadFromString(texte);
    } catch (const ErreurXml& erreur) {
        cible::Exiger(false, "le texte écrit se relit", erreur.Message() + u'\n' + texte);
    }
    cible::Exiger(relu.SaveToString() == texte, "le texte écrit se relit à l'identique", texte);

    // So do the bytes, in the character set the document declares.
    const QByteArray octets = document.SaveToBytes();
    TXmlDocument reluOctets;
    try {
        reluOctets.ReadFromBytes(octets);
    } catch (const ErreurXml& erreur) {
        cible::Exiger(false, "les octets écrits se relisent", erreur.Message());
    }
    cible::Exiger(reluOctets.SaveToBytes() == octets, "les octets écrits se relisent à l'identique");
    return 0;
}
