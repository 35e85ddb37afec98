#pragma once

#include "TestShop.h"

// Catalogue rows arranged straight in a test's shop database.

// A part of the catalogue, made by Fleetguard, described as "Heavy duty <name>".
inline void addPart(TestShop& shop, int id, const QString& name, const QString& partNo,
                    double price)
{
    shop.exec("Insert into Part (ID_Material, Number_Material, Color_Material, Price_Material, "
              "Mfg_Material, Style_Material, Description_Material) values (?,?,?,?,'Fleetguard',"
              "'Spin-on',?)",
              {id, name, partNo, price, "Heavy duty " + name});
}
