"""A real FLUKA dose map from Python: its maximum and where it is, a depth profile through it
(plotted when matplotlib is there), and a picture as the host draws it.

    PYTHONPATH=build/python /usr/bin/python3 examples/dose_profile.py [USRBIN] [OUT.png]
"""
import os
import sys

import numpy as np

import tessaron

here = os.path.dirname(os.path.abspath(__file__))
path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    here, os.pardir, "volume", "tests", "data", "mphys_100MeV1cmHydrogen_51.txt")
picture = sys.argv[2] if len(sys.argv) > 2 else "dose.png"

dose = tessaron.read_mesh(path)
print(dose, dose.header["title"])
value, (x, y, z) = dose.maximum()
print(f"maximum {value:.4g} at x = {x:g}, y = {y:g}, z = {z:g} cm")

# The profile along z through the bin of the maximum.
ix, iy, _ = np.unravel_index(dose.values.argmax(), dose.shape)
depth, profile = dose.centres(2), dose.values[ix, iy, :]
for zc, v in zip(depth, profile):
    print(f"  z = {zc:6.2f} cm   {v:.4e}")
try:
    import matplotlib.pyplot as plt
    plt.semilogy(depth, profile, drawstyle="steps-mid")
    plt.xlabel("z [cm]")
    plt.ylabel(dose.header["title"])
    plt.savefig("profile.png")
except ImportError:
    pass

image = tessaron.render(dose, output=picture, size=(640, 480), palette="Hot")
print(f"{picture}: {image.shape[1]} x {image.shape[0]} pixels")
