-- The order database of Quarvel, version 1-8.
-- The program reads every table with SELECT * and inserts by position:
-- never reorder columns. kluczZam and kluczOkno are rowid aliases.

CREATE TABLE T_WerBaza (
  werBaza TEXT
);

CREATE TABLE T_Zmienne (
  idZam INTEGER,
  rok INTEGER
);

CREATE TABLE T_UstUzytk (
  idWalPrg INTEGER,
  czasReal INTEGER,
  waga INTEGER,
  sDaneUzytk BLOB,
  sWspUw BLOB,
  sWycenZamParam BLOB,
  stanyZam BLOB,
  wysNaglDruk INTEGER,
  status INTEGER
);

CREATE TABLE T_Zam (
  kluczZam INTEGER PRIMARY KEY,
  idZam INTEGER,
  rok INTEGER,
  dodOznaczZam TEXT,
  idWalZam INTEGER,
  dataZam TEXT,
  dataReal TEXT,
  nazwaNabyw TEXT,
  adresNabyw TEXT,
  infDodatNabyw TEXT,
  waga INTEGER,
  uwagi TEXT,
  status INTEGER,
  sDaneUzytk BLOB,
  sWycenZamParam BLOB
);

CREATE TABLE T_Okno (
  kluczOkno INTEGER PRIMARY KEY,
  kluczZam INTEGER,
  iProfSch INTEGER,
  iOkucie INTEGER,
  iKolor INTEGER,
  iListwa INTEGER,
  iSzpros INTEGER,
  nazProfil TEXT,
  nazOkucie TEXT,
  nazKolor TEXT,
  nazListwa TEXT,
  nazSzpros TEXT,
  sGrubProf BLOB,
  grubSzpros INTEGER,
  ilOkien INTEGER,
  cenaZReki INTEGER,
  sWspUw BLOB,
  uwZReki INTEGER,
  uwagi TEXT,
  status INTEGER
);

CREATE TABLE T_OperRysDb (
  kluczOkno INTEGER,
  indeks INTEGER,
  uOperRysDb BLOB
);

CREATE TABLE T_DodatZam (
  kluczZam INTEGER,
  iKolej INTEGER,
  nazwa TEXT,
  ilWym INTEGER,
  jm TEXT,
  wymiar BLOB,
  ilosc INTEGER,
  cenaZReki INTEGER
);

CREATE TABLE T_ZstProfil (
  nazwa TEXT,
  typ INTEGER,
  sGrubProf BLOB
);

CREATE TABLE T_ZstOkucie (
  nazwa TEXT
);

CREATE TABLE T_ZstKolor (
  nazwa TEXT,
  typ INTEGER
);

CREATE TABLE T_ZstListwa (
  nazwa TEXT
);

CREATE TABLE T_ZstSzpros (
  nazwa TEXT,
  grubSzpros INTEGER
);

CREATE TABLE T_ZstWypeln (
  nazwa TEXT,
  typ INTEGER
);

CREATE TABLE T_ZstDodat (
  nazwa TEXT,
  ilWym INTEGER,
  jm TEXT
);

-- The seller's price list. Not one of the tables of version 1-8: the program
-- creates it in an older database when a price list is first saved.
CREATE TABLE T_Cennik (
  rodzaj INTEGER,
  nazwa TEXT,
  stawka1 INTEGER,
  stawka2 INTEGER,
  stawka3 INTEGER,
  stawka4 INTEGER
);
