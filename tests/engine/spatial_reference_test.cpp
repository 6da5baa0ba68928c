// Spatial references through the C interface: EPSG codes resolved by PROJ, compound references
// from a vertical code, well-known text in and out, and the errors for what PROJ refuses.
#include <gtest/gtest.h>

#include <string>

#include "engine_test.h"

namespace {

using namespace engine_test;

struct Ids {
    uint32_t wkid;
    uint32_t vertical_wkid;
};

Ids ids_of(KX_SpatialReferenceHandle sr) {
    return {KX_SpatialReference_getWKID(sr, ok()), KX_SpatialReference_getVerticalWKID(sr, ok())};
}

std::string wktext_of(KX_SpatialReferenceHandle sr) { return text_of(KX_SpatialReference_getWKText(sr, ok())); }

struct FromCodes {
    int32_t wkid;
    int32_t vertical_wkid;  // 0: none
    const char* text_begins;
    const char* text_ends;
};

void PrintTo(const FromCodes& c, std::ostream* os) { *os << c.wkid << " + " << c.vertical_wkid; }

class SpatialReferenceFromCodes : public EngineTest, public ::testing::WithParamInterface<FromCodes> {
protected:
    SpatialReference create() const {
        const auto& c = GetParam();
        return SpatialReference(c.vertical_wkid == 0
                                    ? KX_SpatialReference_create(c.wkid, ok())
                                    : KX_SpatialReference_createVerticalWKID(c.wkid, c.vertical_wkid, ok()));
    }
};

TEST_P(SpatialReferenceFromCodes, ReportsItsCodesAndSingleLineText) {
    const auto& c = GetParam();
    auto sr = create();
    ASSERT_TRUE(sr);
    EXPECT_EQ(ids_of(sr.get()).wkid, static_cast<uint32_t>(c.wkid));
    EXPECT_EQ(ids_of(sr.get()).vertical_wkid, static_cast<uint32_t>(c.vertical_wkid));
    const std::string text = wktext_of(sr.get());
    EXPECT_TRUE(text.starts_with(c.text_begins)) << text;
    EXPECT_TRUE(text.ends_with(c.text_ends)) << text;
    EXPECT_EQ(text.find('\n'), std::string::npos);
}

// The text the engine writes is read back as the same codes, the compound one included.
TEST_P(SpatialReferenceFromCodes, TextRoundTripKeepsTheCodes) {
    auto sr = create();
    ASSERT_TRUE(sr);
    SpatialReference back(KX_SpatialReference_createFromWKText(wktext_of(sr.get()).c_str(), ok()));
    ASSERT_TRUE(back);
    EXPECT_EQ(ids_of(back.get()).wkid, ids_of(sr.get()).wkid);
    EXPECT_EQ(ids_of(back.get()).vertical_wkid, ids_of(sr.get()).vertical_wkid);
}

INSTANTIATE_TEST_SUITE_P(
    Epsg, SpatialReferenceFromCodes,
    ::testing::Values(FromCodes{4326, 0, "GEOGCRS[\"WGS 84\",", "ID[\"EPSG\",4326]]"},
                      FromCodes{3857, 0, "PROJCRS[\"WGS 84 / Pseudo-Mercator\",", "ID[\"EPSG\",3857]]"},
                      FromCodes{32633, 0, "PROJCRS[\"WGS 84 / UTM zone 33N\",", "ID[\"EPSG\",32633]]"},
                      FromCodes{4326, 5773, "COMPOUNDCRS[\"WGS 84 + EGM96 height\",GEOGCRS[\"WGS 84\",",
                                "ID[\"EPSG\",5773]]]"},
                      FromCodes{3857, 3855, "COMPOUNDCRS[\"WGS 84 / Pseudo-Mercator + EGM2008 height\",",
                                "ID[\"EPSG\",3855]]]"}),
    [](const auto& info) {
        std::string name = "EPSG_" + std::to_string(info.param.wkid);
        if (info.param.vertical_wkid != 0) name.append("_").append(std::to_string(info.param.vertical_wkid));
        return name;
    });

class SpatialReferenceText : public EngineTest {};

// Text without an ID is identified when PROJ is certain of the match, and reports 0 otherwise.
TEST_F(SpatialReferenceText, IdentifiesWhatPROJIsCertainOf) {
    const struct {
        const char* name;
        const char* wktext;
        uint32_t wkid;
    } cases[] = {
        {"older dialect of WGS 84",
         "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
         "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]",
         4326},
        {"text with its own ID",
         "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563]],"
         "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433],AUTHORITY[\"EPSG\",\"4326\"]]",
         4326},
        {"a sphere nobody registered",
         "GEOGCS[\"Custom\",DATUM[\"Custom datum\",SPHEROID[\"Custom sphere\",6370000,0]],"
         "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]]",
         0},
    };
    for (const auto& c : cases) {
        SpatialReference sr(KX_SpatialReference_createFromWKText(c.wktext, ok()));
        ASSERT_TRUE(sr) << c.name;
        EXPECT_EQ(ids_of(sr.get()).wkid, c.wkid) << c.name;
        EXPECT_EQ(ids_of(sr.get()).vertical_wkid, 0u) << c.name;
        EXPECT_NE(wktext_of(sr.get()).find("GEOGCRS["), std::string::npos) << c.name;
    }
}

TEST_F(SpatialReferenceText, UnidentifiedTextKeepsItsContent) {
    SpatialReference sr(KX_SpatialReference_createFromWKText(
        "PROJCS[\"Local grid\",GEOGCS[\"Custom\",DATUM[\"Custom datum\",SPHEROID[\"Custom sphere\",6370000,0]],"
        "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]],PROJECTION[\"Transverse_Mercator\"],"
        "PARAMETER[\"central_meridian\",11.5],PARAMETER[\"scale_factor\",0.9995],UNIT[\"metre\",1]]",
        nullptr));
    ASSERT_TRUE(sr);
    EXPECT_EQ(ids_of(sr.get()).wkid, 0u);
    const std::string text = wktext_of(sr.get());
    EXPECT_TRUE(text.starts_with("PROJCRS[\"Local grid\",")) << text;
    EXPECT_NE(text.find("ELLIPSOID[\"Custom sphere\",6370000,0"), std::string::npos) << text;
    EXPECT_NE(text.find("PARAMETER[\"Longitude of natural origin\",11.5"), std::string::npos) << text;
}

struct Refusal {
    const char* name;
    KX_SpatialReferenceHandle (*call)(const KX_ErrorCallbackRecord*);
    int32_t code;
    const char* message;
    const char* additional;  // nullptr: PROJ's own words, only required to be there
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class SpatialReferenceRefusal : public EngineTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SpatialReferenceRefusal, IsAnEngineErrorAndPrintsNothing) {
    const auto& c = GetParam();
    Errors errors;
    testing::internal::CaptureStderr();
    SpatialReference sr(c.call(errors.rec()));
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(sr);
    const Caught error = errors.only();
    EXPECT_EQ(error.code, c.code);
    EXPECT_EQ(error.message, c.message);
    if (c.additional != nullptr)
        EXPECT_EQ(error.additional, c.additional);
    else
        EXPECT_FALSE(error.additional.empty());
    EXPECT_EQ(printed, "");
    // Without a record the refusal is only a null handle.
    EXPECT_EQ(c.call(nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, SpatialReferenceRefusal,
    ::testing::Values(
        Refusal{"UnknownCode", [](auto rec) { return KX_SpatialReference_create(999999, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Unknown well-known ID 999999.", nullptr},
        Refusal{"ZeroCode", [](auto rec) { return KX_SpatialReference_create(0, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Unknown well-known ID 0.", "No coordinate system has this ID."},
        Refusal{"NegativeCode", [](auto rec) { return KX_SpatialReference_create(-4326, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Unknown well-known ID -4326.", "No coordinate system has this ID."},
        Refusal{"VerticalAlone", [](auto rec) { return KX_SpatialReference_create(5773, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Well-known ID 5773 names a vertical coordinate system.",
                "A spatial reference needs a horizontal coordinate system."},
        Refusal{"UnknownVertical", [](auto rec) { return KX_SpatialReference_createVerticalWKID(4326, 999998, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Unknown well-known ID 999998.", nullptr},
        Refusal{"HorizontalAsVertical",
                [](auto rec) { return KX_SpatialReference_createVerticalWKID(4326, 3857, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Well-known ID 3857 does not name a vertical coordinate system.", ""},
        Refusal{"ThreeDimensionalWithVertical",
                [](auto rec) { return KX_SpatialReference_createVerticalWKID(4979, 5773, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Cannot combine the well-known IDs.", nullptr},
        Refusal{"CompoundWithVertical",
                [](auto rec) { return KX_SpatialReference_createVerticalWKID(9705, 5773, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Well-known ID 9705 already has a vertical coordinate system.", ""},
        Refusal{"UnknownHorizontalWithVertical",
                [](auto rec) { return KX_SpatialReference_createVerticalWKID(999999, 5773, rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Unknown well-known ID 999999.", nullptr},
        Refusal{"NotWellKnownText", [](auto rec) { return KX_SpatialReference_createFromWKText("NOT WKT", rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Invalid well-known text.", nullptr},
        Refusal{"EmptyText", [](auto rec) { return KX_SpatialReference_createFromWKText("", rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Invalid well-known text.", nullptr},
        Refusal{"UnbalancedText",
                [](auto rec) { return KX_SpatialReference_createFromWKText("GEOGCS[\"WGS 84\",DATUM[", rec); },
                KX_ERROR_SPATIAL_REFERENCE, "Invalid well-known text.", nullptr},
        Refusal{"EllipsoidText",
                [](auto rec) {
                    return KX_SpatialReference_createFromWKText("ELLIPSOID[\"GRS 1980\",6378137,298.257222101]", rec);
                },
                KX_ERROR_SPATIAL_REFERENCE, "Invalid well-known text.",
                "The text does not describe a coordinate system."},
        Refusal{"VerticalText",
                [](auto rec) {
                    return KX_SpatialReference_createFromWKText(
                        "VERTCRS[\"EGM96 height\",VDATUM[\"EGM96 geoid\"],CS[vertical,1],"
                        "AXIS[\"gravity-related height (H)\",up,LENGTHUNIT[\"metre\",1]]]",
                        rec);
                },
                KX_ERROR_SPATIAL_REFERENCE, "Invalid well-known text.",
                "A spatial reference needs a horizontal coordinate system."},
        Refusal{"NullText", [](auto rec) { return KX_SpatialReference_createFromWKText(nullptr, rec); },
                KX_ERROR_INVALID_ARGUMENT, "Null well-known text.", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
