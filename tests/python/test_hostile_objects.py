"""Python code that the readers run (a number's conversion, a dictionary key's comparison, a
finaliser of the collector, another thread) and that frees what is being read. Each case runs in a
fresh interpreter with the debug allocator, which fills freed memory, so that a read of a freed
object ends the process instead of passing unnoticed: the exit status is the test."""
import os
import subprocess
import sys
import textwrap

import pytest

from build_paths import ENGINE, MODULE_DIR

PRELUDE = '''
import ctypes, fractions, gc, sys, threading
import vornix_geometry as vg
print("imported")  # what the import itself writes (the engine search) comes before

class FloatSub(float):
    pass

class Clearing:
    """A number whose conversion empties `target` (the list holding it or its neighbours) and
    gives a float subclass, whose deprecation warning makes the interpreter look at the number
    again after the conversion."""
    def __init__(self, target, value=2.0):
        self.target, self.value = target, value
    def __float__(self):
        self.target.clear()
        return FloatSub(self.value)
    def __index__(self):
        self.target.clear()
        return int(self.value)

def outcome(action):
    try:
        print(action())
    except Exception as error:
        print(type(error).__name__, error)
'''


def run(code):
    env = dict(os.environ, PYTHONMALLOC="debug", PYTHONPATH=str(MODULE_DIR), GEOMETRY_LIB_PATH=str(ENGINE))
    result = subprocess.run([sys.executable, "-W", "ignore", "-c", PRELUDE + textwrap.dedent(code)], env=env,
                            capture_output=True, text=True, timeout=300)
    assert result.returncode == 0, result.stderr[-3000:]
    return result.stdout.split("imported\n", 1)[1]


CASES = {
    "curve element whose first point empties the element (dict)": ('''
        outer = []
        outer.extend([[Clearing(outer), 0], [1.0, 1.0]])
        outcome(lambda: vg.Polyline({"curvePaths": [[[0, 0], {"c": outer}]]}))
    ''', '{"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}]], "paths": []}\n'),
    "Bezier element of a curve ring, emptied the same way": ('''
        outer = []
        outer.extend([[Clearing(outer), 0], [1.0, 1.0], [2.0, 2.0]])
        outcome(lambda: vg.Polygon({"curveRings": [[[0, 0], {"b": outer}, [0, 0]]]}))
    ''', '{"curveRings": [[[0, 0], {"b": [[2, 0], [1, 1], [2, 2]]}, [0, 0]]], "rings": []}\n'),
    "curve element through append, item assignment and insert": ('''
        cp = vg.Polyline({"curvePaths": [[[0, 0], [1, 1]]]}).curve_paths[0]
        for write in (lambda e: cp.append({"c": e}), lambda e: cp.__setitem__(1, {"b": e + [[3.0, 3.0]]}),
                      lambda e: cp.insert(1, {"a": e + [1, 0]})):
            outer = []
            outer.extend([[Clearing(outer), 0], [1.0, 1.0]])
            write(outer)
        print(cp)
    ''', '[[0, 0], {"c": [[2, 0], [1, -0.41421356237309515]]}, {"b": [[2, 0], [1, 1], [3, 3]]}, '
        '{"c": [[2, 0], [1, 1]]}]\n'),
    "long arc whose rotation empties the element": ('''
        outer = []
        outer.extend([[2, 0], [1, 0], 1, 0, Clearing(outer, 0.5), 10.0, 0.25])
        outcome(lambda: vg.Polyline({"curvePaths": [[[0, 0], {"a": outer}]]}))
    ''', 'IndexError list index out of range\n'),
    "arc flag whose __index__ empties the element": ('''
        outer = []
        outer.extend([[2, 0], [1, 0], Clearing(outer, 1), 0])
        outcome(lambda: vg.Polyline({"curvePaths": [[[0, 0], {"a": outer}]]}))
    ''', 'IndexError list index out of range\n'),
    "vertex list whose x empties it": ('''
        vertex = []
        vertex.extend([Clearing(vertex), 2.0])
        outcome(lambda: vg.Polyline({"paths": [[vertex]]}))
        vertex = []
        vertex.extend([Clearing(vertex), 2.0])
        part = vg.Polyline({"paths": [[]]}).paths[0]
        outcome(lambda: part.append(vertex))
    ''', 'IndexError list index out of range\n' * 2),
    "vertex list whose z empties it (m then absent)": ('''
        vertex = []
        vertex.extend([1.0, 2.0, Clearing(vertex, 3.0), 4.0])
        outcome(lambda: vg.MultiPoint({"hasZ": True, "hasM": True, "points": [vertex]}))
    ''', '{"hasZ": true, "hasM": true, "points": [[1, 2, 3, NaN]]}\n'),
    "dictionary key whose comparison empties the dictionary": ('''
        class Key:
            """Compared first whenever `name` is looked up; the comparison empties the dictionary."""
            def __init__(self, d, name):
                self.d, self.name, self.armed = d, name, False
            def __hash__(self):
                return hash(self.name)
            def __eq__(self, other):
                if self.armed:
                    self.d.clear()
                return False
        readers = {"y": vg.Point, "points": vg.MultiPoint, "hasZ": vg.MultiPoint, "spatialReference": vg.Point,
                   "c": lambda d: vg.Polyline({"curvePaths": [[[0, 0], d]]})}
        for name, read in readers.items():
            d, key = {}, None
            key = Key(d, name)
            d[key] = 0
            d.update({"x": 1.0, "y": 2.0, "points": [[1.0, 2.0]], "hasZ": True, "spatialReference": {"wkid": 1},
                      "c": [[1.0, 1.0], [2.0, 2.0]]})
            key.armed = True
            outcome(lambda: read(d))
    ''', "Exception Resolution error: 'Did not find 'y' in dict during resolution'\n"
         "Exception Resolution error: 'Did not find points in multipoint dict'\n"
         '{"points": [[1, 2]]}\n'
         '{"x": 1, "y": 2}\n'
         "TypeError point_and_curve_from_py: Did not get a valid dict or list for curve/point segment\n"),
    "dictionary emptied while the value under a key converts": ('''
        d = {}
        d.update({"x": Clearing(d, 7.0), "y": 2.0})
        outcome(lambda: vg.Point(d))
        d = {"x": 1.0, "y": 2.0}
        d["spatialReference"] = {"wkid": Clearing(d, 5)}
        outcome(lambda: vg.Point(d))
        d = {"x": 1.0, "y": 2.0}
        d["z"] = Clearing(d, 3.0)
        outcome(lambda: vg.Point(d))
    ''', "Exception Resolution error: 'Did not find 'y' in dict during resolution'\n"
         '{"spatialReference": {"wkid":5}, "x": 1, "y": 2}\n'
         '{"x": 1, "y": 2, "z": 3}\n'),
    "keyword dictionary of a C caller emptied by the conversion": ('''
        call = ctypes.pythonapi.PyObject_Call
        call.restype, call.argtypes = ctypes.py_object, [ctypes.py_object] * 3
        keywords = {}
        keywords["point"] = {"x": Clearing(keywords, 5.0), "y": 2.0}
        outcome(lambda: call(vg.Point, (), keywords))
    ''', '{"x": 5, "y": 2}\n'),
    "finaliser run by the collector empties the element": ('''
        outer = []
        class Cycle:
            def __init__(self):
                self.me = self
            def __del__(self):
                outer.clear()
        class Collecting:
            def __float__(self):
                gc.collect()
                return 2.0
        Cycle()
        outer.extend([[Collecting(), 0], [1.0, 1.0]])
        outcome(lambda: vg.Polyline({"curvePaths": [[[0, 0], {"c": outer}]]}))
    ''', '{"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}]], "paths": []}\n'),
    "collection list emptied by one of its items while the loop looks ahead in it": ('''
        class Emptying(vg.Polygon):
            pass
        def empty_then_convert(self):
            items.clear()
            return vg.Polygon.__dict__["__kxc_geo"](self)
        setattr(Emptying, "__kxc_geo", empty_then_convert)
        square = {"rings": [[[0, 0], [0, 1], [1, 1], [1, 0], [0, 0]]]}
        items = [vg.Polygon(square), Emptying(square)] + [vg.Polygon(square) for _ in range(6)]
        outcome(lambda: vg.area_collection(items))
        items = tuple(vg.Polygon(square) for _ in range(5))
        outcome(lambda: vg.area_collection(items))
    ''', "2.0\n5.0\n"),
}


@pytest.mark.parametrize("code, expected", list(CASES.values()), ids=list(CASES))
def test_reader_survives_python_code_that_frees_its_input(code, expected):
    assert run(code) == expected


THREADS = '''
sys.setswitchinterval(1e-6)
element = [[fractions.Fraction(1, 3), 0], [1.0, 1.0], [2.0, 2.0]]
vertex = [1.0, 2.0, fractions.Fraction(1, 3)]
done = False

def reassign():
    while not done:
        element[0] = [fractions.Fraction(1, 3), 0]
        element[1] = [1.0, 1.0]
        element[2] = [2.0, 2.0]
        vertex[2] = fractions.Fraction(2, 3)

other = threading.Thread(target=reassign)
other.start()
try:
    for _ in range(3000):
        vg.Polyline({"curvePaths": [[[0, 0], {"c": element}, {"b": element}]]})
        vg.MultiPoint({"hasZ": True, "points": [vertex]})
finally:
    done = True
    other.join()
print("done")
'''


def test_another_thread_reassigning_items_while_one_converts():
    assert run(THREADS) == "done\n"
