"""Random dictionaries, lists, numbers and hostile objects through the dictionary readers, the
part views and the texts, for a budget of seconds (the first argument). Run in a subprocess by
test_fuzz_readers.py: any exception that is no Exception (PanicException), a fault or a hang is a
finding; every Exception is an answer."""
import fractions
import decimal
import gc
import random
import sys
import threading
import time

from hypothesis import HealthCheck, given, settings, strategies as st

import vornix_geometry as vg

KEYS = ["x", "y", "z", "m", "xmin", "ymin", "xmax", "ymax", "zmin", "zmax", "mmin", "mmax", "points", "paths",
        "rings", "curvePaths", "curveRings", "hasZ", "hasM", "spatialReference", "wkid", "latestWkid", "vcsWkid",
        "latestVcsWkid", "wkt", "wkt2", "latestWkt", "c", "a", "b"]


class Hostile:
    """A number whose conversion runs Python code against the structure that holds it: empties,
    grows or rewrites a container of it, collects garbage, re-enters the module or fails."""
    victims = []

    def __init__(self, action, value, pick):
        self.action, self.value, self.pick = action, value, pick

    acting = False

    def act(self):
        # One at a time: a rewrite of a dictionary compares keys, whose comparison acts again.
        if Hostile.acting:
            return
        Hostile.acting = True
        try:
            self.act_once()
        finally:
            Hostile.acting = False

    def act_once(self):
        victims = Hostile.victims
        victim = victims[self.pick % len(victims)] if victims else None
        if self.action == "clear" and victim is not None:
            victim.clear()
        elif self.action == "grow" and isinstance(victim, list):
            victim.extend([[1.0, 2.0], {"c": [[1, 1], [2, 2]]}, Hostile("clear", 1.0, self.pick + 1)])
        elif self.action == "rewrite" and isinstance(victim, list) and victim:
            victim[self.pick % len(victim)] = [float(self.pick), 0.5]
        elif self.action == "rewrite" and isinstance(victim, dict) and victim:
            victim[next(iter(victim))] = None
        elif self.action == "gc":
            gc.collect()
        elif self.action == "reenter" and victim is not None:
            try:
                vg.Geometry(victim) if isinstance(victim, dict) else str(vg.Polyline({"paths": [victim]}))
            except Exception:
                pass
        elif self.action == "raise":
            raise ValueError("hostile")
        elif self.action == "exit":
            raise KeyboardInterrupt

    def __float__(self):
        self.act()
        return self.value

    def __index__(self):
        self.act()
        return int(self.value) if self.value == self.value and abs(self.value) < 1e18 else 7


class Key:
    """A dictionary key whose hash equals a reader key's and whose comparison, once armed (after
    the example is built), mutates."""
    armed = False

    def __init__(self, name, hostile):
        self.name, self.hostile = name, hostile

    def __hash__(self):
        return hash(self.name)

    def __eq__(self, other):
        if Key.armed:
            self.hostile.act()
        return False


numbers = st.one_of(
    st.floats(allow_nan=True, allow_infinity=True),
    st.sampled_from([0.0, -0.0, 1e308, -1e308, 5e-324, 1e154, float("nan"), float("inf")]),
    st.integers(min_value=-(10 ** 400), max_value=10 ** 400),
    st.integers(min_value=-5, max_value=5),
    st.booleans(),
    st.none(),
    st.builds(fractions.Fraction, st.integers(-10, 10), st.integers(1, 10)),
    st.sampled_from([decimal.Decimal("1.5"), decimal.Decimal("nan"), "1.0", b"2", 2j]),
)
hostiles = st.builds(Hostile, st.sampled_from(["clear", "grow", "rewrite", "gc", "reenter", "raise", "none", "exit"]),
                     st.floats(-10, 10), st.integers(0, 50))
scalars = st.one_of(numbers, numbers, numbers, hostiles, st.text(max_size=5))


def structures(leaves):
    return st.recursive(
        leaves,
        lambda inner: st.one_of(
            st.lists(inner, max_size=6),
            st.lists(st.one_of(st.floats(-100, 100), inner), min_size=2, max_size=4),
            st.dictionaries(st.one_of(st.sampled_from(KEYS), st.text(max_size=3)), inner, max_size=6),
            st.builds(lambda k, h, v: {Key(k, h): 0, k: v}, st.sampled_from(KEYS), hostiles, inner),
        ),
        max_leaves=40,
    )


# Input shaped like the readers' own: vertex lists, curve elements, parts, geometry dictionaries,
# with any of their leaves random or hostile.
coords = st.lists(st.one_of(st.floats(-1e3, 1e3), scalars), min_size=0, max_size=5)
elements = st.one_of(
    coords, coords,
    st.builds(lambda e, i: {"c": [e, i]}, coords, coords),
    st.builds(lambda e, c, f, w, *shape: {"a": [e, c, f, w, *shape]}, coords, coords, scalars, scalars,
              st.lists(scalars, max_size=3)),
    st.builds(lambda e, c1, c2: {"b": [e, c1, c2]}, coords, coords, coords),
)
parts = st.lists(elements, max_size=6)
shaped = st.builds(
    lambda key, body, z, m, sr: {key: body, "hasZ": z, "hasM": m, **({"spatialReference": sr} if sr else {})},
    st.sampled_from(["paths", "rings", "curvePaths", "curveRings", "points"]),
    st.one_of(st.lists(parts, max_size=4), parts),
    st.sampled_from([True, False, None, 1]), st.sampled_from([True, False, None]),
    st.one_of(st.none(), st.dictionaries(st.sampled_from(["wkid", "latestWkid", "wkt", "vcsWkid"]), scalars)),
)
values = st.one_of(structures(scalars), shaped, shaped, elements, parts)


def containers(value, found):
    """Every list and dict in `value` (the victims of its hostile numbers)."""
    if isinstance(value, (list, dict)) and not any(value is f for f in found):
        found.append(value)
        for item in (value.values() if isinstance(value, dict) else value):
            containers(item, found)
    return found


def guarded(action):
    try:
        result = action()
        str(result)
    except KeyboardInterrupt:
        pass
    except Exception:
        pass


CLASSES = [vg.Geometry, vg.Point, vg.Polyline, vg.Polygon, vg.MultiPoint, vg.Envelope, vg.SpatialReference]
SEEDS = [
    lambda: vg.Polyline({"hasZ": True, "paths": [[[0, 0, 1], [1, 1, 2]], [[2, 2, 3]]],
                         "curvePaths": [[[0, 0, 0], {"c": [[2, 0, 1], [1, 1]]}, {"b": [[3, 3, 1], [2, 2], [4, 4]]}]]}),
    lambda: vg.Polygon({"hasM": True, "rings": [[[0, 0, 5], [0, 4, 5], [4, 4, 5], [0, 0, 5]]],
                        "curveRings": [[[0, 0, 1], {"a": [[0, 0, 1], [1, 0], 0, 1]}]]}),
    lambda: vg.MultiPoint({"points": [[1, 2], [3, 4]]}),
]


def view_actions(geometry, value, index, rnd):
    """Reads and writes of the part views of `geometry` with `value`."""
    views = []
    for name in ("paths", "curve_paths", "rings", "curve_rings", "points"):
        collection = getattr(geometry, name, None)
        if collection is None:
            continue
        views.append(collection)
        try:
            views.extend(list(collection)[:2])
        except Exception:
            pass
    acts = []
    for view in views:
        acts += [lambda v=view: v[index], lambda v=view: v.__setitem__(index, value), lambda v=view: v.append(value),
                 lambda v=view: v.insert(index, value), lambda v=view: v.remove(index), lambda v=view: v.pop(),
                 lambda v=view: str(v), lambda v=view: list(v), lambda v=view: [str(x) for x in v]]
        if rnd.random() < 0.05:
            acts.append(lambda v=view: v.clear())
    for name in ("paths", "curve_paths", "rings", "curve_rings", "points", "spatial_reference"):
        if hasattr(geometry, name):
            acts.append(lambda n=name: setattr(geometry, n, value))
    rnd.shuffle(acts)
    return acts


@settings(max_examples=200, deadline=None, database=None, suppress_health_check=list(HealthCheck))
@given(values, st.integers(-4, 4), st.integers(0, 2 ** 32))
def one_case(value, index, seed):
    rnd = random.Random(seed)
    Hostile.victims = containers(value, [])
    Key.armed = True
    for cls in CLASSES:
        guarded(lambda: cls(value))
    geometry = SEEDS[seed % len(SEEDS)]()
    if hasattr(geometry, "paths") and rnd.random() < 0.5:
        Hostile.victims.append(geometry.paths)
    for act in view_actions(geometry, value, index, rnd)[:12]:
        guarded(act)
    for action in (lambda: str(geometry), lambda: geometry.JSON, lambda: geometry.length if hasattr(geometry, "length") else 0,
                   lambda: vg.Geometry(str(geometry))):
        guarded(action)
    if rnd.random() < 0.3:
        SHARED.append(geometry)
        del SHARED[:-4]
    Key.armed = False
    Hostile.victims = []


# Geometries that the cases hand to a second thread, which reads and writes their views meanwhile.
SHARED = []


def stir(end, failures):
    rnd = random.Random(1)
    plain = [[1.0, 2.0], [3.0, 4.0, 5.0], {"c": [[1.0, 1.0], [0.5, 0.2]]}, [], 7, None]
    try:
        while time.monotonic() < end:
            shared = list(SHARED)
            if not shared:
                time.sleep(0.001)
                continue
            geometry = rnd.choice(shared)
            for act in view_actions(geometry, rnd.choice(plain), rnd.randint(-3, 3), rnd)[:6]:
                guarded(act)
            guarded(lambda: str(geometry))
    except BaseException as error:
        failures.append(error)
        raise


def main(seconds):
    end = time.monotonic() + seconds
    failures = []
    stirrer = threading.Thread(target=stir, args=(end, failures))
    stirrer.start()
    try:
        while time.monotonic() < end and not failures:
            one_case()
    except BaseException as error:  # a finding: hypothesis has printed the smallest example
        failures.append(error)
        raise
    finally:
        stirrer.join()
        print("findings", len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.setswitchinterval(1e-5)
    sys.exit(main(float(sys.argv[1])))
