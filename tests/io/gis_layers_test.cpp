// GIS layers: a round trip of every geometry type through GeoPackage and
// Shapefile with attributes, field types, feature ids and the system checked;
// failing features with and without --skip-failures; inputs GDAL cannot read.
#include "io/gis_layers.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <fstream>
#include <functional>
#include <memory>

#include "tests/engine/job_fixture.h"
#include "tests/io/io_test_support.h"

namespace kolvedir {
namespace {

using testing::JobFixture;
using testing::PlaneJob;
using testing::TransformerOf;
using testing::TransformOf;

// Easting, northing of a PL-2000 zone 18 point near 51° N, 17° E, shifted by k metres.
OGRRawPoint Vertex(int k) { return {6429808.46 + 10.0 * k, 5652126.56 + 7.0 * k}; }

std::string Wkt(OGRwkbGeometryType type) {
  const bool z = OGR_GT_HasZ(type);
  const auto p = [z](int k) {
    const OGRRawPoint v = Vertex(k);
    return std::to_string(v.x) + " " + std::to_string(v.y) +
           (z ? " " + std::to_string(100.0 + k) : "");
  };
  const std::string ring = "(" + p(0) + "," + p(1) + "," + p(2) + "," + p(0) + ")";
  switch (wkbFlatten(type)) {
    case wkbPoint:
      return "(" + p(0) + ")";
    case wkbLineString:
      return "(" + p(0) + "," + p(1) + "," + p(2) + ")";
    case wkbPolygon:
      return "(" + ring + ")";
    case wkbMultiPoint:
      return "((" + p(0) + "),(" + p(3) + "))";
    case wkbMultiLineString:
      return "((" + p(0) + "," + p(1) + "),(" + p(2) + "," + p(3) + "))";
    default:
      return "((" + ring + "))";  // multipolygon
  }
}

std::unique_ptr<OGRGeometry> Geometry(OGRwkbGeometryType type) {
  const std::string text =
      std::string(OGRToOGCGeomType(type)) + (OGR_GT_HasZ(type) ? " Z " : " ") + Wkt(type);
  OGRGeometry* g = nullptr;
  OGRGeometryFactory::createFromWkt(text.c_str(), nullptr, &g);
  return std::unique_ptr<OGRGeometry>(g);
}

// A layer of two features in EPSG:2177 with an integer, a 64-bit integer, a
// real, a text and a date; feature ids 7 and 9 where the format keeps them.
void WriteLayer(GDALDataset& dataset, const char* name, OGRwkbGeometryType type,
                const OGRRawPoint* failing = nullptr) {
  OGRSpatialReference srs;
  srs.importFromEPSG(2177);
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  CPLStringList options;
  if (EQUAL(dataset.GetDriverName(), "ESRI Shapefile")) options.SetNameValue("ENCODING", "UTF-8");
  OGRLayer* layer = dataset.CreateLayer(name, &srs, type, options.List());
  ASSERT_NE(layer, nullptr);
  for (auto [field, fieldType] : {std::pair{"kod", OFTInteger},
                                  {"duzy", OFTInteger64},
                                  {"wartosc", OFTReal},
                                  {"opis", OFTString},
                                  {"data", OFTDate}}) {
    OGRFieldDefn definition(field, fieldType);
    ASSERT_EQ(layer->CreateField(&definition), OGRERR_NONE);
  }
  for (int i = 0; i < 2; ++i) {
    OGRFeature feature(layer->GetLayerDefn());
    feature.SetFID(7 + 2 * i);
    feature.SetField("kod", 123 + i);
    feature.SetField("duzy", static_cast<GIntBig>(5000000000LL + i));
    feature.SetField("wartosc", 1.25 + i);
    feature.SetField("opis", "Łódź ul. Długa");
    feature.SetField("data", 2024, 3, 15 + i);
    std::unique_ptr<OGRGeometry> g = Geometry(type);
    if (failing && i == 1) g.reset(new OGRPoint(failing->x, failing->y));
    feature.SetGeometry(g.get());
    ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
  }
}

std::unique_ptr<GDALDataset> Create(const std::filesystem::path& path, const char* driver) {
  GDALAllRegister();
  return std::unique_ptr<GDALDataset>(GetGDALDriverManager()->GetDriverByName(driver)->Create(
      path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
}

// What the transformer gives for one vertex (easting, northing), as the layer holds it.
OGRRawPoint Expected(const Transformer& t, OGRRawPoint v) {
  double x = 0, y = 0, h = 0;
  std::int32_t status = -1;
  t.Transform({{&v.y, 1}, {&v.x, 1}, {}}, {{&x, 1}, {&y, 1}, {&h, 1}, {&status, 1}, {}, {}});
  EXPECT_EQ(status, 0);
  return {y, x};
}

void ExpectTransformed(const Transformer& t, const OGRGeometry& in, const OGRGeometry& out) {
  ASSERT_EQ(in.getGeometryType(), out.getGeometryType());
  std::vector<OGRPoint> before, after;
  const std::function<void(const OGRGeometry&, std::vector<OGRPoint>&)> collect =
      [&](const OGRGeometry& g, std::vector<OGRPoint>& points) {
        if (const auto* p = dynamic_cast<const OGRPoint*>(&g)) {
          points.push_back(*p);
        } else if (const auto* c = dynamic_cast<const OGRSimpleCurve*>(&g)) {
          for (int i = 0; i < c->getNumPoints(); ++i) {
            OGRPoint v;
            c->getPoint(i, &v);
            points.push_back(v);
          }
        } else if (const auto* polygon = dynamic_cast<const OGRCurvePolygon*>(&g)) {
          for (const OGRCurve* ring : *polygon) collect(*ring, points);
        } else {
          for (const OGRGeometry* part : *g.toGeometryCollection()) collect(*part, points);
        }
      };
  collect(in, before);
  collect(out, after);
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    const OGRRawPoint e = Expected(t, {before[i].getX(), before[i].getY()});
    EXPECT_DOUBLE_EQ(after[i].getX(), e.x);
    EXPECT_DOUBLE_EQ(after[i].getY(), e.y);
    EXPECT_EQ(after[i].getZ(), before[i].getZ()) << "Z of a plane layer passes through";
  }
}

struct Format {
  const char* driver;
  const char* extension;
  bool keepsIds;
};

TEST(GisLayers, EveryGeometryTypeRoundTrip) {
  const OGRwkbGeometryType types[] = {wkbPoint,         wkbLineString,         wkbPolygon,
                                      wkbMultiPoint,    wkbMultiLineString,    wkbMultiPolygon,
                                      wkbPoint25D,      wkbLineString25D,      wkbPolygon25D,
                                      wkbMultiPoint25D, wkbMultiLineString25D, wkbMultiPolygon25D};
  for (const Format format :
       {Format{"GPKG", ".gpkg", true}, Format{"ESRI Shapefile", ".shp", false}}) {
    for (const OGRwkbGeometryType type : types) {
      SCOPED_TRACE(std::string(format.driver) + " " + OGRGeometryTypeToName(type));
      JobFixture fixture;
      const Transformer transformer = TransformerOf(PlaneJob(), fixture.gridFile());
      const auto input = fixture.object() / (std::string("dzialki") + format.extension);
      const auto output = fixture.object() / (std::string("wynik") + format.extension);
      {
        auto dataset = Create(input, format.driver);
        WriteLayer(*dataset, "dzialki", type);
      }
      const JobDescription job = PlaneJob();
      ASSERT_EQ(RunGisLayerJob(job, TransformOf(transformer), {input, output}, {}, fixture.counters,
                               fixture.ui),
                JobOutcome::kCompleted);
      std::unique_ptr<GDALDataset> in(GDALDataset::Open(input.c_str(), GDAL_OF_VECTOR));
      std::unique_ptr<GDALDataset> out(GDALDataset::Open(output.c_str(), GDAL_OF_VECTOR));
      ASSERT_TRUE(out);
      OGRLayer* source = in->GetLayer(0);
      OGRLayer* result = out->GetLayer(0);
      EXPECT_STREQ(result->GetName(), format.keepsIds ? "dzialki" : "wynik");
      ASSERT_NE(result->GetSpatialRef(), nullptr);
      EXPECT_STREQ(result->GetSpatialRef()->GetAuthorityCode(nullptr), "2180");
      EXPECT_EQ(result->GetGeomType(), source->GetGeomType());
      OGRFeatureDefn* definition = result->GetLayerDefn();
      ASSERT_EQ(definition->GetFieldCount(), source->GetLayerDefn()->GetFieldCount());
      for (int i = 0; i < definition->GetFieldCount(); ++i)
        EXPECT_EQ(definition->GetFieldDefn(i)->GetType(),
                  source->GetLayerDefn()->GetFieldDefn(i)->GetType());
      EXPECT_EQ(result->GetFeatureCount(), 2);
      for (;;) {
        std::unique_ptr<OGRFeature> a(source->GetNextFeature()), b(result->GetNextFeature());
        if (!a) break;
        ASSERT_TRUE(b);
        EXPECT_EQ(a->GetFID(), b->GetFID());
        for (int i = 0; i < definition->GetFieldCount(); ++i)
          EXPECT_STREQ(a->GetFieldAsString(i), b->GetFieldAsString(i));
        EXPECT_STREQ(b->GetFieldAsString("opis"), "Łódź ul. Długa");
        ExpectTransformed(transformer, *a->GetGeometryRef(), *b->GetGeometryRef());
      }
    }
  }
}

struct Refusal {
  const char* name;
  std::function<void(const std::filesystem::path& input)> make;  // writes the input
  const char* extension;
  GisLayerOptions options;
  const char* message;  // a part of the refusal; empty: completes
  std::int32_t errors = 0;
};

// A point of zone 15 in a layer said to be zone 18.
const OGRRawPoint kOtherZone{5429808.46, 5652126.56};

TEST(GisLayers, RefusedInputsWriteNothing) {
  const Refusal cases[] = {
      {"a failing feature refuses the job, naming its id and why",
       [](const auto& in) { WriteLayer(*Create(in, "GPKG"), "punkty", wkbPoint, &kOtherZone); },
       ".gpkg",
       {},
       "obiekt FID 9 warstwy \"punkty\": współrzędna y 5429808 jest ze strefy 15"},
      {"--skip-failures leaves it out and counts it",
       [](const auto& in) { WriteLayer(*Create(in, "GPKG"), "punkty", wkbPoint, &kOtherZone); },
       ".gpkg",
       {"", "", true, 1},
       "",
       1},
      {"a corrupt GeoPackage",
       [](const auto& in) { std::ofstream(in) << "SQLite format 3\nnot a database"; },
       ".gpkg",
       {},
       "Nie można odczytać warstw GIS"},
      {"a Shapefile without its .dbf",
       [](const auto& in) {
         WriteLayer(*Create(in, "ESRI Shapefile"), "punkty", wkbPoint);
         std::filesystem::remove(std::filesystem::path(in).replace_extension(".dbf"));
       },
       ".shp",
       {},
       ".dbf"},
      {"a layer in another system than the job's input",
       [](const auto& in) {
         auto dataset = Create(in, "GPKG");
         OGRSpatialReference srs;
         srs.importFromEPSG(2180);
         dataset->CreateLayer("punkty", &srs, wkbPoint);
       },
       ".gpkg",
       {},
       "ma układ EPSG:2180 (ETRF2000-PL / CS92), a --from to xy2000, strefa 18, PL-ETRF2000"},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    JobFixture fixture;
    const Transformer transformer = TransformerOf(PlaneJob(), fixture.gridFile());
    const auto input = fixture.object() / (std::string("we") + c.extension);
    const auto output = fixture.object() / "wynik.gpkg";
    GDALAllRegister();
    c.make(input);
    const JobOutcome outcome = RunGisLayerJob(PlaneJob(), TransformOf(transformer), {input, output},
                                              c.options, fixture.counters, fixture.ui);
    std::string dialogs;
    for (const std::string& d : fixture.ui.dialogs) dialogs += d + "\n";
    if (*c.message == '\0') {
      EXPECT_EQ(outcome, JobOutcome::kCompleted) << dialogs;
      std::unique_ptr<GDALDataset> out(GDALDataset::Open(output.c_str(), GDAL_OF_VECTOR));
      ASSERT_TRUE(out);
      EXPECT_EQ(out->GetLayer(0)->GetFeatureCount(), 1);
      EXPECT_NE(dialogs.find("pominięto obiekt FID 9"), std::string::npos) << dialogs;
      EXPECT_NE(fixture.ui.monitor.Lines()[2].find(std::to_string(c.errors)), std::string::npos);
      continue;
    }
    EXPECT_NE(outcome, JobOutcome::kCompleted);
    EXPECT_NE(dialogs.find(c.message), std::string::npos) << dialogs;
    EXPECT_FALSE(std::filesystem::exists(output));
  }
}

// A layer of more vertices than one call of the transformer takes is written whole.
TEST(GisLayers, LayerLongerThanABlock) {
  JobFixture fixture;
  const Transformer transformer = TransformerOf(PlaneJob(), fixture.gridFile());
  const auto input = fixture.object() / "we.gpkg";
  const auto output = fixture.object() / "wynik.gpkg";
  constexpr int kFeatures = 70000;
  {
    auto dataset = Create(input, "GPKG");
    OGRLayer* layer = dataset->CreateLayer("punkty", nullptr, wkbPoint);
    dataset->StartTransaction();
    for (int i = 0; i < kFeatures; ++i) {
      OGRFeature feature(layer->GetLayerDefn());
      OGRPoint point(Vertex(i % 100).x, Vertex(i % 100).y);
      feature.SetGeometry(&point);
      ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
    }
    dataset->CommitTransaction();
  }
  ASSERT_EQ(RunGisLayerJob(PlaneJob(), TransformOf(transformer), {input, output}, {},
                           fixture.counters, fixture.ui),
            JobOutcome::kCompleted)
      << fixture.ui.dialogs.back();
  std::unique_ptr<GDALDataset> out(GDALDataset::Open(output.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(out);
  EXPECT_EQ(out->GetLayer(0)->GetFeatureCount(), kFeatures);
  EXPECT_EQ(fixture.ui.monitor.Lines()[3], " Liczba punktów: 70000");
}

// TRANS-H changes Z and only Z: B, L stay, the output layer is in the
// output datum (EPSG:9656 PL-KRON86-NH → EPSG:9657 PL-EVRF2007-NH).
TEST(GisLayers, HeightJobChangesZ) {
  JobFixture fixture;
  JobDescription job;
  job.ActiveModule = Module::kHeight;
  job.InputSystem = 11;
  job.OutputSystem = 13;
  job.InputKind = job.OutputKind = RecordKind::kGeodetic;
  TransformerDescription d;
  d.source = "BLH_K86";
  d.target = "BLH_EVRF";
  d.grid = fixture.gridFile().string();
  const Transformer transformer(d);
  const auto input = fixture.object() / "wysokosci.gpkg";
  const auto output = fixture.object() / "evrf.gpkg";
  {
    auto dataset = Create(input, "GPKG");
    OGRSpatialReference srs;
    srs.importFromEPSG(9656);
    OGRLayer* layer = dataset->CreateLayer("repery", &srs, wkbPoint25D);
    OGRFeature feature(layer->GetLayerDefn());
    OGRPoint point(17.5, 51.25, 120.0);  // longitude, latitude, normal height
    feature.SetGeometry(&point);
    ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
  }
  ASSERT_EQ(RunGisLayerJob(job, TransformOf(transformer), {input, output}, {}, fixture.counters,
                           fixture.ui),
            JobOutcome::kCompleted);
  double B = 51.25, L = 17.5, H = 120.0, b = 0, l = 0, h = 0;
  std::int32_t status = -1;
  transformer.Transform({{&B, 1}, {&L, 1}, {&H, 1}},
                        {{&b, 1}, {&l, 1}, {&h, 1}, {&status, 1}, {}, {}});
  ASSERT_EQ(status, 0);
  std::unique_ptr<GDALDataset> out(GDALDataset::Open(output.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(out);
  OGRLayer* layer = out->GetLayer(0);
  EXPECT_STREQ(layer->GetSpatialRef()->GetAuthorityCode(nullptr), "9657");
  std::unique_ptr<OGRFeature> feature(layer->GetNextFeature());
  const OGRPoint* point = feature->GetGeometryRef()->toPoint();
  EXPECT_EQ(point->getX(), 17.5);
  EXPECT_EQ(point->getY(), 51.25);
  EXPECT_EQ(point->getZ(), h);
  EXPECT_NE(h, H);
}

// A system without an EPSG code is written as WKT and known again from it,
// in a GeoPackage and in a Shapefile (whose WKT spells names its own way).
TEST(GisLayers, SystemWithoutCodeKnownAgain) {
  for (const Format format :
       {Format{"GPKG", ".gpkg", true}, Format{"ESRI Shapefile", ".shp", false}}) {
    SCOPED_TRACE(format.driver);
    JobFixture fixture;
    const JobDescription job = PlaneJob(3, 15);  // UTM, zone 15
    const Transformer transformer = TransformerOf(job, fixture.gridFile());
    const auto input = fixture.object() / (std::string("we") + format.extension);
    const auto output = fixture.object() / (std::string("utm") + format.extension);
    WriteLayer(*Create(input, format.driver), "punkty", wkbPoint);
    ASSERT_EQ(RunGisLayerJob(job, TransformOf(transformer), {input, output}, {}, fixture.counters,
                             fixture.ui),
              JobOutcome::kCompleted);
    std::string refusal;
    const CrsRow* row = LayerSystem(output, "", refusal);
    ASSERT_NE(row, nullptr) << refusal;
    EXPECT_EQ(row->system, "UTM");
    EXPECT_EQ(row->zone, 15);
    EXPECT_EQ(row->frame, Frame::kEtrf2000);
  }
}

}  // namespace
}  // namespace kolvedir
