-- The register on SQLite (the embedded default for one workstation).
-- Every column but srno holds text: the screens write every value as text, sometimes empty.
-- srno is assigned by the database and keeps counting after deletes; gamasewa_wasama,
-- land_report and member_report receive their srno from the screens. The scratch tables land_report
-- and member_report also number their rows (line_no) in the order of the list being printed.

CREATE TABLE landowner (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  id VARCHAR(255),
  house_no VARCHAR(255),
  land_owner_name VARCHAR(255),
  ad1 VARCHAR(255),
  ad2 VARCHAR(255),
  ad3 VARCHAR(255),
  ad4 VARCHAR(255),
  samajika_qty VARCHAR(255),
  job VARCHAR(255),
  amoun VARCHAR(255),
  chak VARCHAR(255),
  gamiya VARCHAR(255),
  gama VARCHAR(255),
  username VARCHAR(255),
  date VARCHAR(255),
  time VARCHAR(255)
);
CREATE TABLE land (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  id VARCHAR(255),
  guhasth VARCHAR(255),
  labn_owner_srno VARCHAR(255),
  balapa_no1 VARCHAR(255),
  balapa_no VARCHAR(255),
  addre VARCHAR(255),
  loan_sbawaya VARCHAR(255),
  katti VARCHAR(255),
  akkara1 VARCHAR(255),
  akkara VARCHAR(255),
  rut VARCHAR(255),
  parchase VARCHAR(255),
  aythiye_sbawaya VARCHAR(255),
  wewe_name VARCHAR(255),
  othe_land VARCHAR(255),
  pewarima VARCHAR(255),
  chack1 VARCHAR(255),
  chack VARCHAR(255),
  land_data VARCHAR(255),
  akkara_only VARCHAR(255),
  kottashaya VARCHAR(255),
  gama VARCHAR(255),
  p_name VARCHAR(255),
  p_naya VARCHAR(255),
  username VARCHAR(255),
  date VARCHAR(255),
  time VARCHAR(255)
);
CREATE TABLE hathara_maym (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  landsrno VARCHAR(255),
  landno1 VARCHAR(255),
  landno VARCHAR(255),
  dakuna VARCHAR(255),
  uthuru VARCHAR(255),
  batahira VARCHAR(255),
  naganahira VARCHAR(255)
);
CREATE TABLE land_pera (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  land_srno VARCHAR(255),
  id VARCHAR(255),
  guhasth VARCHAR(255),
  labn_owner_srno VARCHAR(255),
  balapa_no1 VARCHAR(255),
  balapa_no VARCHAR(255),
  addre VARCHAR(255),
  loan_sbawaya VARCHAR(255),
  kattti VARCHAR(255),
  akkara1 VARCHAR(255),
  akkara VARCHAR(255),
  rut VARCHAR(255),
  parchase VARCHAR(255),
  aythiye_sbawaya VARCHAR(255),
  akkara_only VARCHAR(255),
  wewe_name VARCHAR(255),
  othe_land VARCHAR(255),
  chack1 VARCHAR(255),
  pewarima VARCHAR(255),
  chack VARCHAR(255),
  land_data VARCHAR(255),
  kottashaya VARCHAR(255),
  gama VARCHAR(255),
  p_name VARCHAR(255),
  p_naya VARCHAR(255)
);
CREATE TABLE land_pewarima (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  land_srno VARCHAR(255),
  land_no1 VARCHAR(255),
  land_no VARCHAR(255),
  land_behera_wargaya VARCHAR(255),
  land_hethuwa VARCHAR(255),
  land_a VARCHAR(255),
  land_r VARCHAR(255),
  land_p VARCHAR(255),
  land_no_2 VARCHAR(255),
  land_no_2_1 VARCHAR(255)
);
CREATE TABLE pasuhimikam (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  landowner_srno VARCHAR(255),
  id VARCHAR(255),
  newcus_srno VARCHAR(255),
  land_srno VARCHAR(255),
  land_wargaya VARCHAR(255),
  pasuaythiya VARCHAR(255),
  nadakam VARCHAR(255),
  landno VARCHAR(255)
);
CREATE TABLE nadayo (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  nathisambandaya VARCHAR(255)
);
CREATE TABLE gamasewa_wasama (
  srno INTEGER,
  gama_wasama VARCHAR(255),
  gsrno VARCHAR(255),
  gama VARCHAR(255),
  username VARCHAR(255),
  date VARCHAR(255),
  time VARCHAR(255)
);
CREATE TABLE user_loging (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  username VARCHAR(255) COLLATE NOCASE,
  password1 VARCHAR(255),
  password2 VARCHAR(255),
  name VARCHAR(255),
  chack VARCHAR(255)
);
CREATE TABLE awasara (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  user_srno VARCHAR(255),
  username VARCHAR(255),
  a1 VARCHAR(255),
  a2 VARCHAR(255),
  a3 VARCHAR(255),
  a4 VARCHAR(255),
  a5 VARCHAR(255),
  a6 VARCHAR(255),
  a7 VARCHAR(255),
  a8 VARCHAR(255),
  a9 VARCHAR(255),
  a10 VARCHAR(255),
  a11 VARCHAR(255)
);
CREATE TABLE detels (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  codeno VARCHAR(255),
  name VARCHAR(255),
  ad1 VARCHAR(255),
  ad2 VARCHAR(255),
  ad3 VARCHAR(255),
  ad4 VARCHAR(255),
  teno VARCHAR(255),
  faxno VARCHAR(255),
  emailno VARCHAR(255),
  web VARCHAR(255),
  date VARCHAR(255)
);
CREATE TABLE backup_settind (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  back1 VARCHAR(255),
  back2 VARCHAR(255),
  auto_aw VARCHAR(255),
  auto_time VARCHAR(255),
  Auto_backku2 VARCHAR(255),
  Auto_backp_pamanaya VARCHAR(255),
  database_path VARCHAR(255)
);
CREATE TABLE backup_coun (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  bbb VARCHAR(255),
  date VARCHAR(255)
);
CREATE TABLE backup_d (
  srno INTEGER PRIMARY KEY AUTOINCREMENT,
  backup_w VARCHAR(255),
  backup_u VARCHAR(255),
  date VARCHAR(255),
  time VARCHAR(255),
  path VARCHAR(255),
  file_name VARCHAR(255),
  username VARCHAR(255)
);
CREATE TABLE land_report (
  srno INTEGER,
  land_no VARCHAR(255),
  id VARCHAR(255),
  guhano VARCHAR(255),
  aythiya_sbawaya VARCHAR(255),
  land_sabawaya VARCHAR(255),
  wawa_name VARCHAR(255),
  kottashaya VARCHAR(255),
  land_wargaya VARCHAR(255),
  land_pramanaya VARCHAR(255),
  id1 VARCHAR(255),
  line_no INTEGER
);
CREATE TABLE member_report (
  srno INTEGER,
  id VARCHAR(255),
  house_no VARCHAR(255),
  land_name VARCHAR(255),
  land_id VARCHAR(255),
  land_guha VARCHAR(255),
  id1 VARCHAR(255),
  line_no INTEGER
);

-- Indexes: every column the screens look a row up by, list by or join on. The reference columns
-- (labn_owner_srno, newcus_srno, land_srno, ...) are text, so joins cast the integer key to text
-- (l.labn_owner_srno = CAST(o.srno AS VARCHAR(20))); that cast hides the owner's primary key, so the
-- owner is found through an index on the cast itself, written exactly as the views write it. It carries
-- the house number too, so reading every land with its household number (the land report's filters)
-- never reads the owner rows.
-- The status flags (chak, chack) are not indexed on their own: nine rows in ten share one value, and
-- without planner statistics SQLite would rather walk such an index than use the selective one.
CREATE INDEX ix_landowner_id ON landowner (id);
CREATE INDEX ix_landowner_house_no ON landowner (house_no);
CREATE INDEX ix_landowner_srno_text ON landowner (CAST(srno AS VARCHAR(20)), house_no);
CREATE INDEX ix_landowner_gamiya ON landowner (gamiya, gama);
CREATE INDEX ix_land_balapa_no ON land (balapa_no);
-- With the status: an owner's or a household's lands in force are counted from the index alone.
CREATE INDEX ix_land_guhasth ON land (guhasth, chack);
CREATE INDEX ix_land_labn_owner_srno ON land (labn_owner_srno, chack);
CREATE INDEX ix_land_id ON land (id);
-- The value lists offered from the lands (tanks, status words) read their distinct values in order.
CREATE INDEX ix_land_wewe_name ON land (wewe_name);
CREATE INDEX ix_land_pewarima ON land (pewarima);
CREATE INDEX ix_hathara_maym_landno ON hathara_maym (landno);
CREATE INDEX ix_hathara_maym_landsrno ON hathara_maym (landsrno);
CREATE INDEX ix_land_pera_land_srno ON land_pera (land_srno);
CREATE INDEX ix_land_pewarima_land_srno ON land_pewarima (land_srno);
CREATE INDEX ix_pasuhimikam_land_srno ON pasuhimikam (land_srno);
CREATE INDEX ix_pasuhimikam_newcus_srno ON pasuhimikam (newcus_srno);
CREATE INDEX ix_pasuhimikam_landowner_srno ON pasuhimikam (landowner_srno);
-- A division's villages in their stored order, the village number gsrno compared as a number (shorter
-- first, then as text: "2" before "10"), found by division number or by name.
CREATE INDEX ix_gamasewa_wasama_srno ON gamasewa_wasama (srno, LENGTH(gsrno), gsrno);
CREATE INDEX ix_gamasewa_wasama_gama_wasama ON gamasewa_wasama (gama_wasama, LENGTH(gsrno), gsrno);
CREATE INDEX ix_user_loging_username ON user_loging (username);
CREATE INDEX ix_awasara_user_srno ON awasara (user_srno);

-- Active and inactive owners and lands: "1" in force, "0" no longer.
CREATE VIEW landowner1 AS SELECT * FROM landowner WHERE chak = '1';
CREATE VIEW landowner2 AS SELECT * FROM landowner WHERE chak = '0';
CREATE VIEW land1 AS SELECT * FROM land WHERE chack = '1';
CREATE VIEW land2 AS SELECT * FROM land WHERE chack = '0';

-- Every land with its holder. The household number is the holder's own; a land whose holder row is
-- gone still appears, with the household number the land itself recorded.
CREATE VIEW land_re_0 AS
  SELECT l.srno, l.balapa_no, l.balapa_no1, l.aythiye_sbawaya, l.loan_sbawaya, l.wewe_name, l.kottashaya,
         l.gama, l.id, COALESCE(o.house_no, l.guhasth) AS house_no, l.labn_owner_srno, l.pewarima,
         l.akkara_only, l.chack, o.land_owner_name
  FROM land l LEFT JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20));
CREATE VIEW land_re_1 AS SELECT * FROM land_re_0 WHERE chack = '1';
CREATE VIEW land_re_2 AS SELECT * FROM land_re_0 WHERE chack = '0';

-- One row per succession. The owner shown is the successor (newcus_srno), the person who holds the
-- land after the change: that is who the successor report is about. lno is the land's srno.
CREATE VIEW pasuhimika_report AS
  SELECT CAST(p.land_srno AS VARCHAR(20)) AS lno, p.srno, p.land_wargaya, p.landno,
         o.id, o.land_owner_name
  FROM pasuhimikam p LEFT JOIN landowner o ON p.newcus_srno = CAST(o.srno AS VARCHAR(20));

-- The register's schema version, one row. The application refuses a database without it: that is no
-- Parcelon register, or one made by another version.
CREATE TABLE parcelon_schema (
  version INTEGER NOT NULL
);
INSERT INTO parcelon_schema (version) VALUES (4);
