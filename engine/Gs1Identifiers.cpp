#include "Gs1Identifiers.h"

#include <algorithm>
#include <iterator>

namespace {

using enum TGs1Characters;

constexpr bool Predefined = true;
constexpr bool Separated = false;

// Parts in the notation of GS1's format column: N digits, X set 82, Y set 39, Z set 64; a fixed
// length, or "UpTo" a maximum.
constexpr TGs1Part N(int length) {
    return {Digits, static_cast<std::uint8_t>(length)};
}
constexpr TGs1Part NUpTo(int length) {
    return {Digits, static_cast<std::uint8_t>(length), true};
}
constexpr TGs1Part X(int length) {
    return {Set82, static_cast<std::uint8_t>(length)};
}
constexpr TGs1Part XUpTo(int length) {
    return {Set82, static_cast<std::uint8_t>(length), true};
}
constexpr TGs1Part YUpTo(int length) {
    return {Set39, static_cast<std::uint8_t>(length), true};
}
constexpr TGs1Part ZUpTo(int length) {
    return {Set64, static_cast<std::uint8_t>(length), true};
}
// A GS1 identification key (GTIN, SSCC, GLN and the others) ending in its check digit.
constexpr TGs1Part Key(int length) {
    return {.Length = static_cast<std::uint8_t>(length), .Rule = TGs1Rule::CheckDigit};
}
constexpr TGs1Part Date() {
    return {.Length = 6, .Rule = TGs1Rule::Date};
}
constexpr TGs1Part DateOr00() {
    return {.Length = 6, .Rule = TGs1Rule::DateOrMonth};
}
constexpr TGs1Part Date8() {
    return {.Length = 8, .Rule = TGs1Rule::LongDate};
}
constexpr TGs1Part Opt(TGs1Part part) {
    part.Optional = true;
    return part;
}

// Every application identifier of the GS1 General Specifications, Release 26 (541 in 224 rows),
// in their order, with GS1's data titles. Where GS1 splits a fixed run of digits into parts with
// their own meanings but no rule checked here, the run is one part.
constexpr TGs1Identifier Identifiers[] = {
    {"00", "00", Predefined, {Key(18)}},                  // SSCC
    {"01", "01", Predefined, {Key(14)}},                  // GTIN
    {"02", "02", Predefined, {Key(14)}},                  // CONTENT
    {"03", "03", Predefined, {Key(14)}},                  // MTO GTIN
    {"10", "10", Separated, {XUpTo(20)}},                 // BATCH/LOT
    {"11", "11", Predefined, {DateOr00()}},               // PROD DATE
    {"12", "12", Predefined, {DateOr00()}},               // DUE DATE
    {"13", "13", Predefined, {DateOr00()}},               // PACK DATE
    {"15", "15", Predefined, {DateOr00()}},               // BEST BEFORE or BEST BY
    {"16", "16", Predefined, {DateOr00()}},               // SELL BY
    {"17", "17", Predefined, {DateOr00()}},               // USE BY or EXPIRY
    {"20", "20", Predefined, {N(2)}},                     // VARIANT
    {"21", "21", Separated, {XUpTo(20)}},                 // SERIAL
    {"22", "22", Separated, {XUpTo(20)}},                 // CPV
    {"235", "235", Separated, {XUpTo(28)}},               // TPX
    {"240", "240", Separated, {XUpTo(30)}},               // ADDITIONAL ID
    {"241", "241", Separated, {XUpTo(30)}},               // CUST. PART No.
    {"242", "242", Separated, {NUpTo(6)}},                // MTO VARIANT
    {"243", "243", Separated, {XUpTo(20)}},               // PCN
    {"250", "250", Separated, {XUpTo(30)}},               // SECONDARY SERIAL
    {"251", "251", Separated, {XUpTo(30)}},               // REF. TO SOURCE
    {"253", "253", Separated, {Key(13), Opt(XUpTo(17))}}, // GDTI
    {"254", "254", Separated, {XUpTo(20)}},               // GLN EXTENSION COMPONENT
    {"255", "255", Separated, {Key(13), Opt(NUpTo(12))}}, // GCN
    {"30", "30", Separated, {NUpTo(8)}},                  // VAR. COUNT
    {"3100", "3105", Predefined, {N(6)}},                 // NET WEIGHT (kg)
    {"3110", "3115", Predefined, {N(6)}},                 // LENGTH (m)
    {"3120", "3125", Predefined, {N(6)}},                 // WIDTH (m)
    {"3130", "3135", Predefined, {N(6)}},                 // HEIGHT (m)
    {"3140", "3145", Predefined, {N(6)}},                 // AREA (m²)
    {"3150", "3155", Predefined, {N(6)}},                 // NET VOLUME (l)
    {"3160", "3165", Predefined, {N(6)}},                 // NET VOLUME (m³)
    {"3200", "3205", Predefined, {N(6)}},                 // NET WEIGHT (lb)
    {"3210", "3215", Predefined, {N(6)}},                 // LENGTH (in)
    {"3220", "3225", Predefined, {N(6)}},                 // LENGTH (ft)
    {"3230", "3235", Predefined, {N(6)}},                 // LENGTH (yd)
    {"3240", "3245", Predefined, {N(6)}},                 // WIDTH (in)
    {"3250", "3255", Predefined, {N(6)}},                 // WIDTH (ft)
    {"3260", "3265", Predefined, {N(6)}},                 // WIDTH (yd)
    {"3270", "3275", Predefined, {N(6)}},                 // HEIGHT (in)
    {"3280", "3285", Predefined, {N(6)}},                 // HEIGHT (ft)
    {"3290", "3295", Predefined, {N(6)}},                 // HEIGHT (yd)
    {"3300", "3305", Predefined, {N(6)}},                 // GROSS WEIGHT (kg)
    {"3310", "3315", Predefined, {N(6)}},                 // LENGTH (m), log
    {"3320", "3325", Predefined, {N(6)}},                 // WIDTH (m), log
    {"3330", "3335", Predefined, {N(6)}},                 // HEIGHT (m), log
    {"3340", "3345", Predefined, {N(6)}},                 // AREA (m²), log
    {"3350", "3355", Predefined, {N(6)}},                 // VOLUME (l), log
    {"3360", "3365", Predefined, {N(6)}},                 // VOLUME (m³), log
    {"3370", "3375", Predefined, {N(6)}},                 // KG PER m²
    {"3400", "3405", Predefined, {N(6)}},                 // GROSS WEIGHT (lb)
    {"3410", "3415", Predefined, {N(6)}},                 // LENGTH (in), log
    {"3420", "3425", Predefined, {N(6)}},                 // LENGTH (ft), log
    {"3430", "3435", Predefined, {N(6)}},                 // LENGTH (yd), log
    {"3440", "3445", Predefined, {N(6)}},                 // WIDTH (in), log
    {"3450", "3455", Predefined, {N(6)}},                 // WIDTH (ft), log
    {"3460", "3465", Predefined, {N(6)}},                 // WIDTH (yd), log
    {"3470", "3475", Predefined, {N(6)}},                 // HEIGHT (in), log
    {"3480", "3485", Predefined, {N(6)}},                 // HEIGHT (ft), log
    {"3490", "3495", Predefined, {N(6)}},                 // HEIGHT (yd), log
    {"3500", "3505", Predefined, {N(6)}},                 // AREA (in²)
    {"3510", "3515", Predefined, {N(6)}},                 // AREA (ft²)
    {"3520", "3525", Predefined, {N(6)}},                 // AREA (yd²)
    {"3530", "3535", Predefined, {N(6)}},                 // AREA (in²), log
    {"3540", "3545", Predefined, {N(6)}},                 // AREA (ft²), log
    {"3550", "3555", Predefined, {N(6)}},                 // AREA (yd²), log
    {"3560", "3565", Predefined, {N(6)}},                 // NET WEIGHT (tr oz)
    {"3570", "3575", Predefined, {N(6)}},                 // NET VOLUME (oz)
    {"3600", "3605", Predefined, {N(6)}},                 // NET VOLUME (qt (US))
    {"3610", "3615", Predefined, {N(6)}},                 // NET VOLUME (gal.)
    {"3620", "3625", Predefined, {N(6)}},                 // VOLUME (qt (US)), log
    {"3630", "3635", Predefined, {N(6)}},                 // VOLUME (gal (US)), log
    {"3640", "3645", Predefined, {N(6)}},                 // NET VOLUME (in³)
    {"3650", "3655", Predefined, {N(6)}},                 // NET VOLUME (ft³)
    {"3660", "3665", Predefined, {N(6)}},                 // NET VOLUME (yd³)
    {"3670", "3675", Predefined, {N(6)}},                 // VOLUME (in³), log
    {"3680", "3685", Predefined, {N(6)}},                 // VOLUME (ft³), log
    {"3690", "3695", Predefined, {N(6)}},                 // VOLUME (yd³), log
    {"37", "37", Separated, {NUpTo(8)}},                  // COUNT
    {"3900", "3909", Separated, {NUpTo(15)}},             // AMOUNT
    {"3910", "3919", Separated, {N(3), NUpTo(15)}},       // AMOUNT
    {"3920", "3929", Separated, {NUpTo(15)}},             // PRICE
    {"3930", "3939", Separated, {N(3), NUpTo(15)}},       // PRICE
    {"3940", "3943", Separated, {N(4)}},                  // PRCNT OFF
    {"3950", "3955", Separated, {N(6)}},                  // PRICE/UoM
    {"400", "400", Separated, {XUpTo(30)}},               // ORDER NUMBER
    {"401", "401", Separated, {XUpTo(30)}},               // GINC
    {"402", "402", Separated, {Key(17)}},                 // GSIN
    {"403", "403", Separated, {XUpTo(30)}},               // ROUTE
    {"410", "410", Predefined, {Key(13)}},                // SHIP TO LOC
    {"411", "411", Predefined, {Key(13)}},                // BILL TO
    {"412", "412", Predefined, {Key(13)}},                // PURCHASE FROM
    {"413", "413", Predefined, {Key(13)}},                // SHIP FOR LOC
    {"414", "414", Predefined, {Key(13)}},                // LOC No.
    {"415", "415", Predefined, {Key(13)}},                // PAY TO
    {"416", "416", Predefined, {Key(13)}},                // PROD/SERV LOC
    {"417", "417", Predefined, {Key(13)}},                // PARTY
    {"420", "420", Separated, {XUpTo(20)}},               // SHIP TO POST
    {"421", "421", Separated, {N(3), XUpTo(9)}},          // SHIP TO POST
    {"422", "422", Separated, {N(3)}},                    // ORIGIN
    // COUNTRY - INITIAL PROCESS
    {"423", "423", Separated, {N(3), Opt(N(3)), Opt(N(3)), Opt(N(3)), Opt(N(3))}},
    {"424", "424", Separated, {N(3)}}, // COUNTRY - PROCESS
    // COUNTRY - DISASSEMBLY
    {"425", "425", Separated, {N(3), Opt(N(3)), Opt(N(3)), Opt(N(3)), Opt(N(3))}},
    {"426", "426", Separated, {N(3)}},                                 // COUNTRY - FULL PROCESS
    {"427", "427", Separated, {XUpTo(3)}},                             // ORIGIN SUBDIVISION
    {"4300", "4300", Separated, {XUpTo(35)}},                          // SHIP TO COMP
    {"4301", "4301", Separated, {XUpTo(35)}},                          // SHIP TO NAME
    {"4302", "4302", Separated, {XUpTo(70)}},                          // SHIP TO ADD1
    {"4303", "4303", Separated, {XUpTo(70)}},                          // SHIP TO ADD2
    {"4304", "4304", Separated, {XUpTo(70)}},                          // SHIP TO SUB
    {"4305", "4305", Separated, {XUpTo(70)}},                          // SHIP TO LOC
    {"4306", "4306", Separated, {XUpTo(70)}},                          // SHIP TO REG
    {"4307", "4307", Separated, {X(2)}},                               // SHIP TO COUNTRY
    {"4308", "4308", Separated, {XUpTo(30)}},                          // SHIP TO PHONE
    {"4309", "4309", Separated, {N(20)}},                              // SHIP TO GEO
    {"4310", "4310", Separated, {XUpTo(35)}},                          // RTN TO COMP
    {"4311", "4311", Separated, {XUpTo(35)}},                          // RTN TO NAME
    {"4312", "4312", Separated, {XUpTo(70)}},                          // RTN TO ADD1
    {"4313", "4313", Separated, {XUpTo(70)}},                          // RTN TO ADD2
    {"4314", "4314", Separated, {XUpTo(70)}},                          // RTN TO SUB
    {"4315", "4315", Separated, {XUpTo(70)}},                          // RTN TO LOC
    {"4316", "4316", Separated, {XUpTo(70)}},                          // RTN TO REG
    {"4317", "4317", Separated, {X(2)}},                               // RTN TO COUNTRY
    {"4318", "4318", Separated, {XUpTo(20)}},                          // RTN TO POST
    {"4319", "4319", Separated, {XUpTo(30)}},                          // RTN TO PHONE
    {"4320", "4320", Separated, {XUpTo(35)}},                          // SRV DESCRIPTION
    {"4321", "4321", Separated, {N(1)}},                               // DANGEROUS GOODS
    {"4322", "4322", Separated, {N(1)}},                               // AUTH TO LEAVE
    {"4323", "4323", Separated, {N(1)}},                               // SIG REQUIRED
    {"4324", "4324", Separated, {DateOr00(), N(4)}},                   // NOT BEF DEL DT
    {"4325", "4325", Separated, {DateOr00(), N(4)}},                   // NOT AFT DEL DT
    {"4326", "4326", Separated, {Date()}},                             // REL DATE
    {"4330", "4330", Separated, {N(6), Opt(X(1))}},                    // MAX TEMP F.
    {"4331", "4331", Separated, {N(6), Opt(X(1))}},                    // MAX TEMP C.
    {"4332", "4332", Separated, {N(6), Opt(X(1))}},                    // MIN TEMP F.
    {"4333", "4333", Separated, {N(6), Opt(X(1))}},                    // MIN TEMP C.
    {"7001", "7001", Separated, {N(13)}},                              // NSN
    {"7002", "7002", Separated, {XUpTo(30)}},                          // MEAT CUT
    {"7003", "7003", Separated, {Date(), N(4)}},                       // EXPIRY TIME
    {"7004", "7004", Separated, {NUpTo(4)}},                           // ACTIVE POTENCY
    {"7005", "7005", Separated, {XUpTo(12)}},                          // CATCH AREA
    {"7006", "7006", Separated, {Date()}},                             // FIRST FREEZE DATE
    {"7007", "7007", Separated, {Date(), Opt(Date())}},                // HARVEST DATE
    {"7008", "7008", Separated, {XUpTo(3)}},                           // AQUATIC SPECIES
    {"7009", "7009", Separated, {XUpTo(10)}},                          // FISHING GEAR TYPE
    {"7010", "7010", Separated, {XUpTo(2)}},                           // PROD METHOD
    {"7011", "7011", Separated, {Date(), Opt(N(4))}},                  // TEST BY DATE
    {"7020", "7020", Separated, {XUpTo(20)}},                          // REFURB LOT
    {"7021", "7021", Separated, {XUpTo(20)}},                          // FUNC STAT
    {"7022", "7022", Separated, {XUpTo(20)}},                          // REV STAT
    {"7023", "7023", Separated, {XUpTo(30)}},                          // GIAI - ASSEMBLY
    {"7030", "7030", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 0
    {"7031", "7031", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 1
    {"7032", "7032", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 2
    {"7033", "7033", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 3
    {"7034", "7034", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 4
    {"7035", "7035", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 5
    {"7036", "7036", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 6
    {"7037", "7037", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 7
    {"7038", "7038", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 8
    {"7039", "7039", Separated, {N(3), XUpTo(27)}},                    // PROCESSOR # 9
    {"7040", "7040", Separated, {N(1), X(3)}},                         // UIC+EXT
    {"7041", "7041", Separated, {XUpTo(4)}},                           // UFRGT UNIT TYPE
    {"710", "710", Separated, {XUpTo(20)}},                            // NHRN PZN
    {"711", "711", Separated, {XUpTo(20)}},                            // NHRN CIP
    {"712", "712", Separated, {XUpTo(20)}},                            // NHRN CN
    {"713", "713", Separated, {XUpTo(20)}},                            // NHRN DRN
    {"714", "714", Separated, {XUpTo(20)}},                            // NHRN AIM
    {"715", "715", Separated, {XUpTo(20)}},                            // NHRN NDC
    {"716", "716", Separated, {XUpTo(20)}},                            // NHRN AIC
    {"717", "717", Separated, {XUpTo(20)}},                            // NHRN SRN
    {"7230", "7230", Separated, {X(2), XUpTo(28)}},                    // CERT # 1
    {"7231", "7231", Separated, {X(2), XUpTo(28)}},                    // CERT # 2
    {"7232", "7232", Separated, {X(2), XUpTo(28)}},                    // CERT # 3
    {"7233", "7233", Separated, {X(2), XUpTo(28)}},                    // CERT # 4
    {"7234", "7234", Separated, {X(2), XUpTo(28)}},                    // CERT # 5
    {"7235", "7235", Separated, {X(2), XUpTo(28)}},                    // CERT # 6
    {"7236", "7236", Separated, {X(2), XUpTo(28)}},                    // CERT # 7
    {"7237", "7237", Separated, {X(2), XUpTo(28)}},                    // CERT # 8
    {"7238", "7238", Separated, {X(2), XUpTo(28)}},                    // CERT # 9
    {"7239", "7239", Separated, {X(2), XUpTo(28)}},                    // CERT # 10
    {"7240", "7240", Separated, {XUpTo(20)}},                          // PROTOCOL
    {"7241", "7241", Separated, {N(2)}},                               // AIDC MEDIA TYPE
    {"7242", "7242", Separated, {XUpTo(25)}},                          // VCN
    {"7250", "7250", Separated, {Date8()}},                            // DOB
    {"7251", "7251", Separated, {Date8(), N(4)}},                      // DOB TIME
    {"7252", "7252", Separated, {N(1)}},                               // BIO SEX
    {"7253", "7253", Separated, {XUpTo(40)}},                          // FAMILY NAME
    {"7254", "7254", Separated, {XUpTo(40)}},                          // GIVEN NAME
    {"7255", "7255", Separated, {XUpTo(10)}},                          // SUFFIX
    {"7256", "7256", Separated, {XUpTo(90)}},                          // FULL NAME
    {"7257", "7257", Separated, {XUpTo(70)}},                          // PERSON ADDR
    {"7258", "7258", Separated, {X(3)}},                               // BIRTH SEQUENCE
    {"7259", "7259", Separated, {XUpTo(40)}},                          // BABY
    {"8001", "8001", Separated, {N(14)}},                              // DIMENSIONS
    {"8002", "8002", Separated, {XUpTo(20)}},                          // CMT No.
    {"8003", "8003", Separated, {N(1), Key(13), Opt(XUpTo(16))}},      // GRAI
    {"8004", "8004", Separated, {XUpTo(30)}},                          // GIAI
    {"8005", "8005", Separated, {N(6)}},                               // PRICE PER UNIT
    {"8006", "8006", Separated, {Key(14), N(4)}},                      // ITIP
    {"8007", "8007", Separated, {XUpTo(34)}},                          // IBAN
    {"8008", "8008", Separated, {Date(), N(2), Opt(N(2)), Opt(N(2))}}, // PROD TIME
    {"8009", "8009", Separated, {XUpTo(50)}},                          // OPTSEN
    {"8010", "8010", Separated, {YUpTo(30)}},                          // CPID
    {"8011", "8011", Separated, {NUpTo(12)}},                          // CPID SERIAL
    {"8012", "8012", Separated, {XUpTo(20)}},                          // VERSION
    {"8013", "8013", Separated, {XUpTo(25)}},                          // GMN
    {"8014", "8014", Separated, {XUpTo(25)}},                          // MUDI
    {"8017", "8017", Separated, {Key(18)}},                            // GSRN - PROVIDER
    {"8018", "8018", Separated, {Key(18)}},                            // GSRN - RECIPIENT
    {"8019", "8019", Separated, {NUpTo(10)}},                          // SRIN
    {"8020", "8020", Separated, {XUpTo(25)}},                          // REF No.
    {"8026", "8026", Separated, {Key(14), N(4)}},                      // ITIP CONTENT
    {"8030", "8030", Separated, {ZUpTo(90)}},                          // DIGSIG
    {"8040", "8040", Separated, {N(15)}},                              // IMEI
    {"8041", "8041", Separated, {N(15)}},                              // IMEI2
    {"8042", "8042", Separated, {N(32)}},                              // ESIM
    {"8043", "8043", Separated, {N(18), Opt(NUpTo(2))}},               // PSIM
    {"8110", "8110", Separated, {XUpTo(70)}},
    {"8111", "8111", Separated, {N(4)}}, // POINTS
    {"8112", "8112", Separated, {XUpTo(70)}},
    {"8200", "8200", Separated, {XUpTo(70)}}, // PRODUCT URL
    {"90", "90", Separated, {XUpTo(30)}},     // INTERNAL
    {"91", "99", Separated, {XUpTo(90)}},     // INTERNAL
};

constexpr bool AreInOrder() {
    return std::ranges::is_sorted(Identifiers, {}, &TGs1Identifier::First) &&
           std::ranges::all_of(Identifiers, [](const TGs1Identifier& id) {
               return id.First.size() == id.Last.size() && id.First <= id.Last;
           });
}
static_assert(AreInOrder());

} // namespace

const TGs1Identifier* FindGs1Identifier(std::string_view ai) {
    const auto row = std::ranges::find_if(Identifiers, [ai](const TGs1Identifier& id) {
        return ai.size() == id.First.size() && id.First <= ai && ai <= id.Last;
    });
    return row != std::end(Identifiers) ? row : nullptr;
}
