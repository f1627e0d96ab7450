-- The preloaded PV module library. Values are data-sheet figures at STC: Isc and Imp in A,
-- Voc and Vmp in V, alpha in A/°C and beta in V/°C (the data sheet's %/°C times Isc or Voc),
-- delta by cell technology (mono-crystalline 0.085, multi-crystalline 0.110, thin film 0.063)
-- and the series resistance Rs in ohms.
CREATE TABLE Modules (_id INTEGER PRIMARY KEY AUTOINCREMENT, Description TEXT, Isc REAL, Voc REAL, Imp REAL, Vmp REAL, alpha REAL, beta REAL, delta REAL, Rs REAL, UserModule BOOLEAN DEFAULT 0, Favourite BOOLEAN DEFAULT 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Aldmere Solar AS-250M60', 8.85, 37.9, 8.28, 30.2, 0.00398, -0.1175, 0.085, 0.32, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Aldmere Solar AS-290M60', 9.65, 39.4, 9.18, 31.6, 0.00463, -0.1182, 0.085, 0.3, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Aldmere Solar AS-330M60H', 10.35, 40.6, 9.85, 33.5, 0.00497, -0.1177, 0.085, 0.28, 0, 1)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Aldmere Solar AS-370M66H', 11.02, 44.1, 10.51, 35.2, 0.00529, -0.1235, 0.085, 0.29, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Aldmere Solar AS-405M108', 13.85, 37.1, 13.02, 31.1, 0.00637, -0.1002, 0.085, 0.22, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Brackwyn PV BW-230P60', 8.45, 37, 7.83, 29.4, 0.00507, -0.1221, 0.11, 0.38, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Brackwyn PV BW-250P60', 8.92, 37.6, 8.32, 30.1, 0.00517, -0.1241, 0.11, 0.36, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Brackwyn PV BW-270P60', 9.21, 38.4, 8.73, 30.9, 0.00525, -0.1229, 0.11, 0.35, 0, 1)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Brackwyn PV BW-315P72', 9.05, 45.8, 8.55, 36.8, 0.00525, -0.1511, 0.11, 0.45, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Brackwyn PV BW-340P72', 9.42, 46.5, 8.94, 38, 0.00528, -0.1488, 0.11, 0.44, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Corvane Energy CV-200M72', 5.58, 45.2, 5.19, 38.5, 0.00234, -0.1537, 0.085, 0.55, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Corvane Energy CV-185M72', 5.4, 44.8, 5.02, 36.9, 0.00227, -0.1568, 0.085, 0.58, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Corvane Energy CV-300M60B', 9.86, 39.8, 9.37, 32, 0.00463, -0.1194, 0.085, 0.31, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Corvane Energy CV-360M72', 9.82, 48, 9.33, 38.6, 0.00462, -0.144, 0.085, 0.4, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Corvane Energy CV-435M144H', 11.15, 49.3, 10.52, 41.4, 0.00535, -0.138, 0.085, 0.36, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Estrelle Modules EM-240P60', 8.65, 37.2, 8.05, 29.8, 0.00536, -0.1265, 0.11, 0.37, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Estrelle Modules EM-260P60', 9.02, 37.9, 8.51, 30.6, 0.00541, -0.1251, 0.11, 0.36, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Estrelle Modules EM-280P60', 9.38, 38.6, 8.88, 31.5, 0.00544, -0.1235, 0.11, 0.34, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Estrelle Modules EM-325P72', 9.18, 46.1, 8.68, 37.4, 0.00542, -0.1521, 0.11, 0.45, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Estrelle Modules EM-150P36', 8.68, 22.4, 8.17, 18.4, 0.00521, -0.0762, 0.11, 0.22, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Gildrow Cells GC-100M36', 6.12, 21.9, 5.68, 17.6, 0.00306, -0.0701, 0.085, 0.2, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Gildrow Cells GC-175M72', 5.32, 44.4, 4.95, 35.4, 0.00239, -0.151, 0.085, 0.6, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Gildrow Cells GC-280M60', 9.43, 39.2, 8.97, 31.2, 0.00472, -0.1215, 0.085, 0.32, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Gildrow Cells GC-315M60P', 10.02, 40.3, 9.56, 32.9, 0.00481, -0.1169, 0.085, 0.3, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Gildrow Cells GC-380M120H', 11.48, 41.2, 10.86, 35, 0.00551, -0.1154, 0.085, 0.26, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Tessaly Solar TS-255P60', 8.88, 37.7, 8.35, 30.5, 0.00524, -0.1206, 0.11, 0.36, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Tessaly Solar TS-275P60', 9.3, 38.3, 8.83, 31.1, 0.00539, -0.1226, 0.11, 0.35, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Tessaly Solar TS-330P72', 9.28, 46.3, 8.79, 37.6, 0.00538, -0.1482, 0.11, 0.44, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Tessaly Solar TS-345M60B', 10.7, 41, 10.2, 33.8, 0.00514, -0.1148, 0.085, 0.27, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Tessaly Solar TS-450M144H', 11.45, 49.8, 10.82, 41.6, 0.0055, -0.1345, 0.085, 0.35, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Vornhal Thin Film VT-CdTe-80', 1.24, 88, 1.11, 70, 0.0005, -0.2464, 0.063, 6.5, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Vornhal Thin Film VT-CdTe-95', 1.46, 90, 1.31, 71.2, 0.00058, -0.252, 0.063, 6, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Vornhal Thin Film VT-CdTe-117', 2.54, 59.5, 2.33, 50.2, 0.00102, -0.1725, 0.063, 2.2, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Vornhal Thin Film VT-CdTe-420', 2.62, 219, 2.42, 173.6, 0.00105, -0.6132, 0.063, 9.5, 0, 1)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Vornhal Thin Film VT-CdTe-445', 2.72, 221.5, 2.52, 176.3, 0.00109, -0.6202, 0.063, 9, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Marlis Photovoltaic MP-CIGS-150', 2.2, 106, 1.94, 77.5, 0.00022, -0.318, 0.063, 5.8, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Marlis Photovoltaic MP-CIGS-165', 2.24, 108.5, 2, 82.5, 0.00022, -0.3255, 0.063, 5.2, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Marlis Photovoltaic MP-CIS-170', 2.27, 112, 2.03, 83.8, 0.00023, -0.3472, 0.063, 5.4, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Marlis Photovoltaic MP-aSi-128', 1.18, 138, 0.98, 108, 0.00106, -0.5244, 0.063, 14, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Marlis Photovoltaic MP-aSi-64', 4.8, 23.8, 3.88, 16.5, 0.0048, -0.0904, 0.063, 0.9, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Orvane Solar OS-NT-121', 1.23, 137.5, 1.08, 112, 0.00086, -0.4125, 0.063, 15, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Orvane Solar OS-HJT-360', 8.85, 51.8, 8.41, 42.8, 0.00292, -0.1243, 0.085, 0.46, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Orvane Solar OS-HJT-330', 6.07, 69.7, 5.77, 57.6, 0.002, -0.1673, 0.085, 0.95, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Orvane Solar OS-IBC-327', 6.46, 64.9, 5.98, 54.7, 0.00226, -0.1752, 0.085, 0.82, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Orvane Solar OS-BF-400M120', 11.62, 41.5, 10.95, 36.5, 0.00535, -0.112, 0.085, 0.26, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Halcrest Power HP-245P60', 8.72, 37.4, 8.16, 30, 0.00523, -0.1234, 0.11, 0.37, 0, 0)
--;
INSERT INTO Modules (Description, Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, Favourite) VALUES ('Halcrest Power HP-265P60', 9.11, 38.1, 8.62, 30.8, 0.00528, -0.1257, 0.11, 0.35, 0, 0)
--;
