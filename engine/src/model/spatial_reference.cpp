#include "model/spatial_reference.h"

#include <proj_experimental.h>

#include <charconv>
#include <cstring>
#include <utility>

#include "model/engine_error.h"
#include "model/spatial_reference_cache.h"
#include "model/spatial_reference_data.h"

namespace model {
namespace {

using proj::ObjectPtr;
using proj::Session;

[[noreturn]] void refuse(const std::string& message, const std::string& additional) {
    throw model::EngineError(model::kSpatialReferenceError, message, additional);
}

// PROJ's own account of a failure when it gave one: it names the cause more exactly than we can.
std::string logged_or(const Session& session, const std::string& fallback) {
    std::string logged = session.log();
    return logged.empty() ? fallback : logged;
}

std::string joined(PROJ_STRING_LIST list) {
    std::string text;
    for (auto item = list; item != nullptr && *item != nullptr; ++item) {
        if (!text.empty()) text += "; ";
        text += *item;
    }
    return text;
}

std::string name_of(PJ* object) {
    const char* name = proj_get_name(object);
    return name == nullptr ? std::string() : std::string(name);
}

bool has_type(PJ* crs, PJ_TYPE type) { return proj_get_type(crs) == type; }

uint32_t code_from_text(const char* text) {
    uint32_t code = 0;
    if (text == nullptr) return 0;
    const char* end = text + std::strlen(text);
    auto [rest, status] = std::from_chars(text, end, code);
    return status == std::errc() && rest == end ? code : 0;
}

uint32_t own_epsg_code(PJ* object) {
    const char* authority = proj_get_id_auth_name(object, 0);
    if (authority == nullptr || std::strcmp(authority, "EPSG") != 0) return 0;
    return code_from_text(proj_get_id_code(object, 0));
}

// The EPSG code of a coordinate system: its own ID, else the first code that PROJ identifies it
// with at full confidence; 0 when there is none.
uint32_t identify(const Session& session, PJ* crs) {
    if (uint32_t own = own_epsg_code(crs); own != 0) return own;
    int* confidence = nullptr;
    PJ_OBJ_LIST* candidates = proj_identify(session.context(), crs, "EPSG", nullptr, &confidence);
    uint32_t code = 0;
    const int count = candidates == nullptr ? 0 : proj_list_get_count(candidates);
    for (int i = 0; i < count && code == 0; ++i) {
        if (confidence[i] != 100) continue;
        ObjectPtr candidate(proj_list_get(session.context(), candidates, i));
        if (candidate) code = own_epsg_code(candidate.get());
    }
    proj_int_list_destroy(confidence);
    proj_list_destroy(candidates);
    return code;
}

// A compound system without an ID of its own is reported by its two parts, as if it had been
// made from a horizontal and a vertical ID.
std::pair<uint32_t, uint32_t> ids_of(const Session& session, PJ* crs) {
    if (!has_type(crs, PJ_TYPE_COMPOUND_CRS) || own_epsg_code(crs) != 0) return {identify(session, crs), 0};
    ObjectPtr horizontal(proj_crs_get_sub_crs(session.context(), crs, 0));
    ObjectPtr vertical(proj_crs_get_sub_crs(session.context(), crs, 1));
    return {horizontal ? identify(session, horizontal.get()) : 0, vertical ? identify(session, vertical.get()) : 0};
}

SpatialReferencePtr make(const Session& session, ObjectPtr crs, uint32_t wkid, uint32_t vertical_wkid) {
    const char* const options[] = {"MULTILINE=NO", nullptr};
    const char* text = proj_as_wkt(session.context(), crs.get(), PJ_WKT2_2019, options);
    if (text == nullptr)
        refuse("Invalid coordinate system.", logged_or(session, "It cannot be written as well-known text."));
    std::string wktext(text);
    return std::make_shared<const SpatialReferenceData>(std::move(crs), wkid, vertical_wkid, std::move(wktext));
}

ObjectPtr from_database(const Session& session, int32_t wkid) {
    const std::string code = std::to_string(wkid);
    ObjectPtr crs;
    if (wkid > 0)
        crs.reset(proj_create_from_database(session.context(), "EPSG", code.c_str(), PJ_CATEGORY_CRS, 0, nullptr));
    if (!crs) refuse("Unknown well-known ID " + code + ".", logged_or(session, "No coordinate system has this ID."));
    return crs;
}

ObjectPtr horizontal_from_database(const Session& session, int32_t wkid) {
    ObjectPtr crs = from_database(session, wkid);
    if (has_type(crs.get(), PJ_TYPE_VERTICAL_CRS))
        refuse("Well-known ID " + std::to_string(wkid) + " names a vertical coordinate system.",
               "A spatial reference needs a horizontal coordinate system.");
    return crs;
}

SpatialReferencePtr made_from_wkid(int32_t wkid) {
    Session session;
    return make(session, horizontal_from_database(session, wkid), static_cast<uint32_t>(wkid), 0);
}

SpatialReferencePtr made_from_wkid_and_vertical(int32_t wkid, int32_t vertical_wkid) {
    if (vertical_wkid == 0) return made_from_wkid(wkid);
    Session session;
    ObjectPtr horizontal = horizontal_from_database(session, wkid);
    if (has_type(horizontal.get(), PJ_TYPE_COMPOUND_CRS))
        refuse("Well-known ID " + std::to_string(wkid) + " already has a vertical coordinate system.", "");
    ObjectPtr vertical = from_database(session, vertical_wkid);
    if (!has_type(vertical.get(), PJ_TYPE_VERTICAL_CRS))
        refuse("Well-known ID " + std::to_string(vertical_wkid) + " does not name a vertical coordinate system.", "");
    const std::string name = name_of(horizontal.get()) + " + " + name_of(vertical.get());
    ObjectPtr compound(proj_create_compound_crs(session.context(), name.c_str(), horizontal.get(), vertical.get()));
    if (!compound) refuse("Cannot combine the well-known IDs.", logged_or(session, name));
    return make(session, std::move(compound), static_cast<uint32_t>(wkid), static_cast<uint32_t>(vertical_wkid));
}

SpatialReferencePtr made_from_wktext(const std::string& text) {
    Session session;
    PROJ_STRING_LIST warnings = nullptr;
    PROJ_STRING_LIST grammar_errors = nullptr;
    ObjectPtr crs(proj_create_from_wkt(session.context(), text.c_str(), nullptr, &warnings, &grammar_errors));
    const std::string grammar = joined(grammar_errors);
    proj_string_list_destroy(warnings);
    proj_string_list_destroy(grammar_errors);
    if (!crs) refuse("Invalid well-known text.", grammar.empty() ? logged_or(session, "PROJ cannot parse it.") : grammar);
    if (!proj_is_crs(crs.get())) refuse("Invalid well-known text.", "The text does not describe a coordinate system.");
    if (has_type(crs.get(), PJ_TYPE_VERTICAL_CRS))
        refuse("Invalid well-known text.", "A spatial reference needs a horizontal coordinate system.");
    const auto [wkid, vertical_wkid] = ids_of(session, crs.get());
    return make(session, std::move(crs), wkid, vertical_wkid);
}

}  // namespace

SpatialReferencePtr spatial_reference_from_wkid(int32_t wkid) {
    return cached_spatial_reference({.wkid = wkid}, [&] { return made_from_wkid(wkid); });
}

SpatialReferencePtr spatial_reference_from_wkid_and_vertical(int32_t wkid, int32_t vertical_wkid) {
    return cached_spatial_reference({.wkid = wkid, .vertical_wkid = vertical_wkid},
                                    [&] { return made_from_wkid_and_vertical(wkid, vertical_wkid); });
}

SpatialReferencePtr spatial_reference_from_wktext(std::string_view wktext) {
    // PROJ reads a C string: a NUL would silently cut the text short.
    if (wktext.find('\0') != std::string_view::npos)
        refuse("Invalid well-known text.", "The text holds a NUL character.");
    SpatialReferenceKey key{.from_text = true, .wktext = std::string(wktext)};
    return cached_spatial_reference(key, [&] { return made_from_wktext(key.wktext); });
}

uint32_t wkid_of(const SpatialReferenceData& sr) { return sr.wkid(); }

uint32_t vertical_wkid_of(const SpatialReferenceData& sr) { return sr.vertical_wkid(); }

std::string wktext_of(const SpatialReferenceData& sr) { return sr.wktext(); }

bool equal(const SpatialReferenceData& a, const SpatialReferenceData& b) {
    if (&a == &b) return true;
    if (a.wkid() != 0 || b.wkid() != 0) return a.wkid() == b.wkid() && a.vertical_wkid() == b.vertical_wkid();
    Session session;
    return proj_is_equivalent_to_with_ctx(session.context(), a.crs(), b.crs(), PJ_COMP_EQUIVALENT) != 0;
}

}  // namespace model
