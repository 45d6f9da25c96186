// The measurement behind the reader's polygon library: the union of N shapes (every other one a
// circle as a polygon of K vertices, the rest thin rectangles, at random places), by
// Boost.Polygon (32-bit integers), Boost.Geometry (64-bit integers and doubles, unions paired
// up in a tree) and, where it is installed, Clipper (the reference; Linux only).
//
// Usage: zz-polygon-choice [N [K]]   (default 5000 64)

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/polygon/polygon.hpp>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>
#ifdef ZZ_WITH_CLIPPER
#include <polyclipping/clipper.hpp>
#endif

namespace {

using Shape = std::vector<std::pair<long long, long long>>;

std::vector<Shape> Shapes(int n, int k) {
  std::mt19937 random(1);
  std::uniform_int_distribution<long long> place(0, 40000000), size(10000, 200000);
  std::vector<Shape> shapes;
  for (int i = 0; i < n; ++i) {
    const long long x = place(random), y = place(random), s = size(random);
    Shape shape;
    if (i % 2) {
      for (int j = 0; j < k; ++j) {
        const double a = 2 * M_PI * j / k;
        shape.emplace_back(x + std::llround(s * std::cos(a)), y + std::llround(s * std::sin(a)));
      }
    } else {
      shape = {{x, y}, {x + s, y}, {x + s, y + s / 3}, {x, y + s / 3}};
    }
    shapes.push_back(shape);
  }
  return shapes;
}

template <class F>
double Milliseconds(F f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <class T, class U>
T TreeUnion(std::vector<T> v, U unite) {
  while (v.size() > 1) {
    std::vector<T> next;
    for (std::size_t i = 0; i + 1 < v.size(); i += 2) next.push_back(unite(v[i], v[i + 1]));
    if (v.size() % 2) next.push_back(v.back());
    v.swap(next);
  }
  return v.empty() ? T{} : v[0];
}

template <class Coordinate>
void Geometry(const std::vector<Shape>& shapes, const char* name) {
  namespace bg = boost::geometry;
  using Point = bg::model::d2::point_xy<Coordinate>;
  using Polygon = bg::model::polygon<Point, false>;
  using Multi = bg::model::multi_polygon<Polygon>;
  double area = 0;
  bool valid = false;
  const double ms = Milliseconds([&] {
    std::vector<Multi> parts;
    for (const Shape& s : shapes) {
      Polygon p;
      for (auto q : s) bg::append(p.outer(), Point(q.first, q.second));
      bg::append(p.outer(), Point(s[0].first, s[0].second));
      bg::correct(p);
      parts.push_back(Multi{p});
    }
    const Multi all = TreeUnion(parts, [](const Multi& a, const Multi& b) {
      Multi r;
      bg::union_(a, b, r);
      return r;
    });
    area = bg::area(all);
    valid = bg::is_valid(all);
  });
  std::printf("%-34s %9.1f ms  area %.10g  valid %d\n", name, ms, area, valid);
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 5000, k = argc > 2 ? std::atoi(argv[2]) : 64;
  const std::vector<Shape> shapes = Shapes(n, k);
  std::printf("%d shapes, circles of %d vertices\n", n, k);
  {
    namespace gtl = boost::polygon;
    double area = 0;
    const double ms = Milliseconds([&] {
      gtl::polygon_set_data<int> set;
      for (const Shape& s : shapes) {
        std::vector<gtl::point_data<int>> points;
        for (auto q : s) points.emplace_back(static_cast<int>(q.first), static_cast<int>(q.second));
        gtl::polygon_data<int> p;
        p.set(points.begin(), points.end());
        set.insert(p);
      }
      std::vector<gtl::polygon_with_holes_data<int>> out;
      set.get(out);
      for (const auto& p : out) area += gtl::area(p);
    });
    std::printf("%-34s %9.1f ms  area %.10g\n", "Boost.Polygon int32, one union", ms, area);
  }
  Geometry<long long>(shapes, "Boost.Geometry int64, tree union");
  Geometry<double>(shapes, "Boost.Geometry double, tree union");
#ifdef ZZ_WITH_CLIPPER
  {
    using namespace ClipperLib;
    double area = 0;
    const double ms = Milliseconds([&] {
      Clipper clipper;
      for (const Shape& s : shapes) {
        Path p;
        for (auto q : s) p.push_back(IntPoint(q.first, q.second));
        clipper.AddPath(p, ptSubject, true);
      }
      Paths out;
      clipper.Execute(ctUnion, out, pftNonZero, pftNonZero);
      for (const Path& p : out) area += Area(p);
    });
    std::printf("%-34s %9.1f ms  area %.10g\n", "Clipper (reference), one union", ms, area);
  }
#endif
}
