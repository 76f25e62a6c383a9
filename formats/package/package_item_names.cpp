#include "formats/package/package_item_names.h"

#include "formats/io/printf_text.h"

namespace verada {
namespace {

struct TypeIdRow {
    std::uint32_t typeId;
    TypeIdName name;
};

constexpr TypeIdRow kTypeIdNames[] = {
    {0x00B1B104, {"PROP", "prop"}}, {0x00E6BCE5, {"GMDL", "gmdl"}}, {0x011989B7, {"_PLT", "plt"}},
    {0x01AD2616, {"CRTR", "crtr"}}, {0x01AD2617, {"BLTR", "bltr"}}, {0x01AD2618, {"VHTR", "vhtr"}},
    {0x01C135DA, {"GMSH", "gmsh"}}, {0x01C3C4B3, {"_TRP", "trp"}},  {0x022D2C83, {"EAPD", "bnry"}},
    {0x02393756, {"CRSR", "cur"}},  {0x0248F226, {"_CSS", "txt"}},  {0x024A0E52, {"_CHT", "txt"}},
    {0x027C5CEF, {"_TTF", "ttf"}},  {0x029E333B, {"TXT6", "txt"}},  {0x02D5C9AF, {"SUMM", "sum"}},
    {0x02D5C9B0, {"SUMP", "sump"}}, {0x02FAC0B6, {"_TXT", "txt"}},  {0x03055F61, {"TXT7", "txt"}},
    {0x030BDEE3, {"PMET", "pmet"}}, {0x0376C3DA, {"__HM", "hm"}},   {0x0472329B, {"HTRA", "htra"}},
    {0x12952634, {"TXT2", "txt"}},  {0x1A99B06B, {"_BEM", "bem"}},  {0x1C4A276C, {"TXTR", "txtr"}},
    {0x1E99B626, {"_BAT", "bat"}},  {0x2399BE55, {"_BLD", "bld"}},  {0x24682294, {"_VCL", "vcl"}},
    {0x25DF0112, {"SCPT", "txt"}},  {0x2B6CAB5F, {"NOTE", "txt"}},  {0x2B978C46, {"_CRT", "xml"}},
    {0x2F4E681B, {"_RW4", "bnry"}}, {0x2F4E681C, {"RAST", "rast"}}, {0x2F7D0002, {"JPEG", "jpeg"}},
    {0x2F7D0004, {"_PNG", "png"}},  {0x2F7D0005, {"_BMP", "bmp"}},  {0x2F7D0006, {"_TGA", "tga"}},
    {0x2F7D0007, {"_GIF", "gif"}},  {0x37979F71, {"TXT8", "txt"}},  {0x3C77532E, {"ADBE", "psd"}},
    {0x3C7E0F63, {"MUSC", "txt"}},  {0x3F9C28B5, {"CRSR", "cur"}},  {0x438F6347, {"_FLR", "flr"}},
    {0x476A98C7, {"_UFO", "ufo"}},  {0x49596978, {"TXMT", "txmt"}}, {0x497767B9, {"TXT5", "txt"}},
    {0x4AEB6BC6, {"ALST", "txt"}},  {0x53545223, {"STR#", "str"}},  {0x617715C4, {"PYTH", "py"}},
    {0x617715D9, {"TXT4", "txt"}},  {0x7BA3838C, {"GMND", "gmnd"}}, {0x7C19AA7A, {"PCAP", "txt"}},
    {0xAC4F8687, {"GMDC", "5gd"}},  {0xCF6C21B8, {"_XML", "xml"}},  {0xE519C933, {"CRES", "cres"}},
    {0xE86B1EEF, {"CLST", "clst"}}, {0xEE17C6AD, {"ANIM", "anim"}}, {0xEFBDA3FF, {"LAYO", "bnry"}},
    {0xFC6EB1F7, {"SHPE", "shpe"}},
};

}  // namespace

TypeIdName typeIdToName(std::uint32_t typeId) {
    for (const TypeIdRow& row : kTypeIdNames) {
        if (row.typeId == typeId) {
            return row.name;
        }
    }
    return {"UNKN", "bnry"};
}

std::string itemFileName(std::uint32_t typeId, std::uint32_t groupId, std::uint32_t instanceId,
                         std::optional<std::uint32_t> resourceId) {
    TypeIdName type = typeIdToName(typeId);
    if (resourceId.value_or(0) != 0) {
        return printfText("KL-%s-%08X-%08X-%08X-%08X.%s", type.name, typeId, groupId, instanceId,
                          *resourceId, type.extension);
    }
    return printfText("KL-%s-%08X-%08X-%08X.%s", type.name, typeId, groupId, instanceId,
                      type.extension);
}

}  // namespace verada
