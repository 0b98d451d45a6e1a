#include "config/settings.h"

const std::array<ColumnType, COLUMN_TYPE_COUNT> column_types = {{
    {" RefDes ", 8},
    {" Value  ", 8},
    {"  Info  ", 8},
    {" Value and Info  ", 17},
    {" Footprint  ", 12},
    {" Side ", 6},
    {"Angle", 5},
    {" Loc X  ", 8},
    {" Loc Y  ", 8},
    {"     Loc X,Y     ", 17},
    {"Tech ", 5},
    {"Pins ", 5},
    {"  Adhesive X,Y   ", 17},
    {"     Adhesive X,Y,Dia     ", 26},
    {"Cent Ang", 8},
    {"   FP Author    ", 16},
    {"   FP Source    ", 16},
    {"    FP Desc     ", 16},
    {"Adhesive Count", 14},
}};
