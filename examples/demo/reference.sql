-- Demo reference data, run in one transaction on a fresh Quarlo.abs after the
-- installers of Config.ini have been read (installer tariffs find them by Code).
-- Keys are never written: every row finds the keys it needs by label or code.

-- Installation kinds, with their delivery surcharges and export codes.
INSERT INTO Pose (Libelle, CodeExport, Livraison, LivraisonCompliquee, Autorisation, Manutention, TypeTva,
    CodeExportLivraison, CodeExportLivraisonCompliquee, CodeExportAutorisation, CodeExportManutention)
  VALUES ('Pose en rénovation', 'POSE-RENO', 45.00, 95.00, 60.00, 35.00, 2,
    'POSE-RENO-LIV', 'POSE-RENO-LIVC', 'POSE-RENO-AUTO', 'POSE-RENO-MANU');
INSERT INTO Pose (Libelle, CodeExport, Livraison, LivraisonCompliquee, Autorisation, Manutention, TypeTva,
    CodeExportLivraison, CodeExportLivraisonCompliquee, CodeExportAutorisation, CodeExportManutention)
  VALUES ('Pose en neuf (tableau)', 'POSE-NEUF', 45.00, 95.00, 60.00, 35.00, 1,
    'POSE-NEUF-LIV', 'POSE-NEUF-LIVC', 'POSE-NEUF-AUTO', 'POSE-NEUF-MANU');
INSERT INTO Pose (Libelle, CodeExport, Livraison, LivraisonCompliquee, Autorisation, Manutention, TypeTva,
    CodeExportLivraison, CodeExportLivraisonCompliquee, CodeExportAutorisation, CodeExportManutention)
  VALUES ('Dépose totale et pose', 'POSE-DEPOSE', 55.00, 120.00, 60.00, 45.00, 3,
    'POSE-DEPOSE-LIV', 'POSE-DEPOSE-LIVC', 'POSE-DEPOSE-AUTO', 'POSE-DEPOSE-MANU');

-- Category types, tied to the host's families.
INSERT INTO CategorieType (Libelle, TrelvaneLibelle, MotsClefs) VALUES ('Fenêtre', '10101', 'fenêtre;PVC;aluminium;bois');
INSERT INTO CategorieType (Libelle, TrelvaneLibelle, MotsClefs) VALUES ('Fenêtre avec coffre de volet roulant', '10102', 'fenêtre;coffre;volet roulant');
INSERT INTO CategorieType (Libelle, TrelvaneLibelle, MotsClefs) VALUES ('Volet roulant', '10300', 'volet;roulant;motorisé');
INSERT INTO CategorieType (Libelle, TrelvaneLibelle, MotsClefs) VALUES ('Volet battant', '10200', 'volet;battant;persienne');
INSERT INTO CategorieType (Libelle, TrelvaneLibelle, MotsClefs) VALUES ('Porte d''entrée', '10500', 'porte;entrée');
INSERT INTO CategorieType (Libelle, TrelvaneLibelle, MotsClefs) VALUES ('Porte de garage', '10600', 'porte;garage;sectionnelle;basculante');

-- Categories and their constraints on the item's dimensions. A category's label
-- follows its type's label on screen ("Volet roulant plus de 1,50 m de large").
-- The constraints of the categories of one type exclude each other, so each
-- demo item meets exactly one category of its family.
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('1 vantail, petite', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Fenêtre'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'),
    (SELECT IdOperande FROM Operande WHERE Code = 'VANTAIL'), '=', '1');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'),
    (SELECT IdOperande FROM Operande WHERE Code = 'PERIMETRE'), '<', '2500');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('1 vantail, grande', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Fenêtre'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'),
    (SELECT IdOperande FROM Operande WHERE Code = 'VANTAIL'), '=', '1');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'),
    (SELECT IdOperande FROM Operande WHERE Code = 'PERIMETRE'), '>=', '2500');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('2 vantaux standard', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Fenêtre'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'),
    (SELECT IdOperande FROM Operande WHERE Code = 'VANTAIL'), '>=', '2');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR_VANTAIL'), '<=', '700');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'),
    (SELECT IdOperande FROM Operande WHERE Code = 'HAUTEUR'), '<', '1800');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('2 vantaux larges', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Fenêtre'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'),
    (SELECT IdOperande FROM Operande WHERE Code = 'VANTAIL'), '>=', '2');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR_VANTAIL'), '>', '700');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'),
    (SELECT IdOperande FROM Operande WHERE Code = 'HAUTEUR'), '<', '1800');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('2 vantaux toute hauteur (porte-fenêtre)', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Fenêtre'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'),
    (SELECT IdOperande FROM Operande WHERE Code = 'VANTAIL'), '>=', '2');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'),
    (SELECT IdOperande FROM Operande WHERE Code = 'HAUTEUR'), '>=', '1800');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('jusqu''à 1,40 m de large', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Fenêtre avec coffre de volet roulant'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '<=', '1400');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('plus de 1,40 m de large', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Fenêtre avec coffre de volet roulant'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '>', '1400');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('jusqu''à 1,50 m de large', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Volet roulant'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '<=', '1500');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'),
    (SELECT IdOperande FROM Operande WHERE Code = 'HAUTEUR'), '<=', '2400');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('plus de 1,50 m de large', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Volet roulant'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '>', '1500');
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'),
    (SELECT IdOperande FROM Operande WHERE Code = 'HAUTEUR'), '<=', '2400');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('la paire', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Volet battant'));
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('simple', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Porte d''entrée'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '<=', '1000');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('avec semi-fixe', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Porte d''entrée'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '>', '1000');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('sectionnelle jusqu''à 2,50 m', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Porte de garage'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '<=', '2500');
INSERT INTO Categorie (Libelle, IdCategorieType)
  VALUES ('sectionnelle plus de 2,50 m', (SELECT IdCategorieType FROM CategorieType WHERE Libelle = 'Porte de garage'));
INSERT INTO CategorieContrainte (IdCategorie, IdOperande, Operateur, Valeur)
  VALUES ((SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'),
    (SELECT IdOperande FROM Operande WHERE Code = 'LARGEUR'), '>', '2500');

-- General sale tariffs (installer 0) of every kind and category.
-- POSE-RENO
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), 0, 95.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), 0, 125.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), 0, 165.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), 0, 195.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), 0, 240.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), 0, 215.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), 0, 265.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), 0, 140.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), 0, 185.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), 0, 120.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), 0, 290.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), 0, 380.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), 0, 420.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), 0, 520.00);
-- POSE-NEUF
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), 0, 81.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), 0, 106.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), 0, 140.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), 0, 166.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), 0, 204.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), 0, 183.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), 0, 225.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), 0, 119.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), 0, 157.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), 0, 102.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), 0, 246.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), 0, 323.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), 0, 357.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), 0, 442.00);
-- POSE-DEPOSE
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), 0, 128.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), 0, 169.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), 0, 223.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), 0, 263.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), 0, 324.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), 0, 290.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), 0, 358.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), 0, 189.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), 0, 250.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), 0, 162.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), 0, 392.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), 0, 513.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), 0, 567.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), 0, 702.00);

-- What each installer charges for the same work.
-- POS001
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 65.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 85.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 112.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 133.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 163.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 146.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 180.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 95.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 126.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 82.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 197.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 258.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 286.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 354.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 55.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 72.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 95.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 113.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 139.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 124.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 153.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 81.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 107.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 69.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 168.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 220.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 243.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-NEUF'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 301.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 87.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 115.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 151.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 179.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 220.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 197.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 243.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 129.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 170.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 110.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 266.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 349.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 386.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS001'), 477.00);
-- POS002
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 68.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 90.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 119.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 140.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 173.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 155.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 191.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 101.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 133.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 86.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 209.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 274.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 302.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 374.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 92.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 122.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 160.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 190.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 233.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 209.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 258.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 136.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 180.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 117.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 282.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 369.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 408.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-DEPOSE'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS002'), 505.00);
-- POS003
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, petite'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 62.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '1 vantail, grande'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 81.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux standard'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 107.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux larges'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 127.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = '2 vantaux toute hauteur (porte-fenêtre)'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 156.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 140.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,40 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 172.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'jusqu''à 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 91.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'plus de 1,50 m de large'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 120.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'la paire'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 78.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'simple'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 188.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'avec semi-fixe'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 247.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle jusqu''à 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 273.00);
INSERT INTO Tarif (IdPose, IdCategorie, IdPoseur, Prix) VALUES ((SELECT IdPose FROM Pose WHERE CodeExport = 'POSE-RENO'),
    (SELECT IdCategorie FROM Categorie WHERE Libelle = 'sectionnelle plus de 2,50 m'), (SELECT IdPoseur FROM Poseur WHERE Code = 'POS003'), 338.00);

-- Hardware catalogue.
INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)
  VALUES ('QUI-VB7592', 'Vis béton 7,5 x 92 mm', 'Boîte de 100', 24.90, 13.80, 100, 4, 1);
INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)
  VALUES ('QUI-PATTE', 'Pattes de fixation réglables', 'Lot de 10', 18.50, 9.90, 10, 2, 1);
INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)
  VALUES ('QUI-MOUSSE', 'Mousse expansive polyuréthane', 'Cartouche 750 ml', 12.40, 6.70, 1, 0.25, 0);
INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)
  VALUES ('QUI-SILIC', 'Mastic silicone blanc', 'Cartouche 310 ml', 8.90, 4.20, 1, 0.1, 0);
INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)
  VALUES ('QUI-COMPRI', 'Compribande 15 mm', 'Rouleau de 8 m', 21.00, 11.50, 8, 1, 0);
INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)
  VALUES ('QUI-CALES', 'Cales de vitrage assorties', 'Sachet de 200', 15.60, 7.80, 200, 6, 1);
INSERT INTO Quincaillerie (CodeExport, Libelle, Libelle2, TarifVente, TarifAchat, NbPieces, NbPiecesML, Secable)
  VALUES ('QUI-BAVETTE', 'Bavette aluminium 100 mm', 'Barre de 3 m', 27.50, 15.90, 3, 1, 0);
