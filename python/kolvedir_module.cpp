// The Python module kolvedir._kolvedir: the library's Transformer over NumPy
// arrays. The package kolvedir (python/kolvedir) gives it its defaults.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>

#include "engine/crs_names.h"
#include "engine/crs_table.h"
#include "engine/program_places.h"
#include "kolvedir/transformer.h"

namespace py = pybind11;

namespace {

// Any float64-convertible input, made contiguous (a copy only when needed).
using InputArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

std::span<const double> View(const InputArray& array) {
  return {array.data(), static_cast<std::size_t>(array.size())};
}
template <typename T>
std::span<T> View(py::array_t<T>& array) {
  return {array.mutable_data(), static_cast<std::size_t>(array.size())};
}

void RequireShape(const InputArray& reference, const InputArray& other, const char* name) {
  if (!reference.request().shape.empty() && reference.request().shape != other.request().shape)
    throw py::value_error(std::string("kolvedir: ") + name + " has another shape than x");
}

py::tuple Transform(const kolvedir::Transformer& transformer, const InputArray& a,
                    const InputArray& b, const std::optional<InputArray>& c,
                    std::optional<int> threads) {
  RequireShape(a, b, "y");
  if (c) RequireShape(a, *c, "z");
  const std::vector<py::ssize_t> shape(a.shape(), a.shape() + a.ndim());
  py::array_t<double> outA(shape), outB(shape), outC(shape);
  py::array_t<std::int32_t> status(shape);
  const bool plane = transformer.TargetKind() == kolvedir::CoordinateKind::kPlane;
  py::array_t<double> distortion(plane ? shape : std::vector<py::ssize_t>{0});
  py::array_t<double> convergence(plane ? shape : std::vector<py::ssize_t>{0});

  const kolvedir::PointArrays in{View(a), View(b), c ? View(*c) : std::span<const double>{}};
  const kolvedir::ResultArrays out{View(outA), View(outB), View(outC), View(status),
                                   View(distortion), View(convergence)};
  {
    py::gil_scoped_release unlocked;
    transformer.Transform(in, out, threads.value_or(0));  // 0: one thread per core
  }
  if (plane) return py::make_tuple(outA, outB, outC, status, distortion, convergence);
  return py::make_tuple(outA, outB, outC, status);
}

// The table of kolvedir-batch --list-systems, a tuple per row.
py::list CrsRows() {
  py::list rows;
  for (const kolvedir::CrsRow& row : kolvedir::CrsTable())
    rows.append(py::make_tuple(std::string(row.system), row.zone,
                               std::string(kolvedir::FrameOptionName(row.frame)), row.epsg,
                               row.dimensions, std::string(row.epsgName), std::string(row.axes),
                               row.differenceMm, std::string(row.note), std::string(row.wkt)));
  return rows;
}

}  // namespace

PYBIND11_MODULE(_kolvedir, m) {
  m.doc() = "Coordinate transformations between Poland's geodetic systems, as a job computes them.";
  m.attr("__version__") = KOLVEDIR_VERSION;
  // The package tells its folder: where it stands tells the layout, hence the grid.
  m.def("default_grid", [](const std::string& packageFolder) {
    return kolvedir::GridInUse(kolvedir::PlacesAround(packageFolder)).string();
  }, py::arg("package_folder"));
  m.def("batch_program", [](const std::string& packageFolder) {
    return (kolvedir::PlacesAround(packageFolder).programFolder / "kolvedir-batch").string();
  }, py::arg("package_folder"));
  m.def("crs_rows", &CrsRows);
  py::register_exception<kolvedir::TransformerError>(m, "Error", PyExc_ValueError);
  m.attr("MODEL_GRID_NOTICE") = std::string(kolvedir::Transformer::ModelGridNotice());

  py::enum_<kolvedir::PointResult>(m, "PointResult", py::arithmetic())
      .value("GOOD", kolvedir::PointResult::kGood)
      .value("OUT_OF_AREA", kolvedir::PointResult::kOutOfArea)
      .value("FAILED", kolvedir::PointResult::kFailed)
      .value("DISTORTED", kolvedir::PointResult::kDistorted)
      .value("WRONG_ZONE", kolvedir::PointResult::kWrongZone);

  py::class_<kolvedir::Transformer>(m, "Transformer")
      // Names and zones as kolvedir-batch reads them from its command line.
      .def(py::init([](std::string source, std::string sourceZone, std::string sourceFrame,
                       std::string target, std::string targetZone, std::string targetFrame,
                       std::string method, std::string grid) {
             return kolvedir::Transformer(kolvedir::TransformerDescription{
                 std::move(source), std::move(sourceZone), std::move(sourceFrame),
                 std::move(target), std::move(targetZone), std::move(targetFrame),
                 std::move(method), std::move(grid)});
           }),
           py::kw_only(), py::arg("source"), py::arg("source_zone"), py::arg("source_frame"),
           py::arg("target"), py::arg("target_zone"), py::arg("target_frame"), py::arg("method"),
           py::arg("grid"))
      .def_property_readonly("target_is_plane",
                             [](const kolvedir::Transformer& t) {
                               return t.TargetKind() == kolvedir::CoordinateKind::kPlane;
                             })
      .def_property_readonly("source_kind",
                             [](const kolvedir::Transformer& t) {
                               return static_cast<int>(t.SourceKind());
                             })
      .def_property_readonly("target_kind",
                             [](const kolvedir::Transformer& t) {
                               return static_cast<int>(t.TargetKind());
                             })
      .def_property_readonly("model_grid", &kolvedir::Transformer::UsesModelGrid)
      .def("point_message", &kolvedir::Transformer::PointMessage, py::arg("status"),
           py::arg("input_easting") = 0.0)
      .def("transform", &Transform, py::arg("x"), py::arg("y"), py::arg("z") = py::none(),
           py::arg("threads") = py::none());
}
