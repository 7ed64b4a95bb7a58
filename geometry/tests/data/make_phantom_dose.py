# Writes phantom_dose.usrbin: a made-up dose map (FLUKA cartesian USRBIN text, 20 x 20 x 20 bins
# of 1 cm) over the frame of phantom.inp: a beam along z, weaker behind the lead block, low in
# the air cavity.
import math

N, W = 20, 1.0


def region(x, y, z):
    if (x - 4) ** 2 + y ** 2 + (z - 6) ** 2 <= 9:
        return "cavity"
    if -10 <= x <= 0 and 12 <= z <= 15:
        return "lead"
    return "water"


values = []
for iz in range(N):
    for iy in range(N):
        for ix in range(N):
            x, y, z = -10 + (ix + 0.5) * W, -10 + (iy + 0.5) * W, (iz + 0.5) * W
            d = math.exp(-(x * x + y * y) / (2 * 3.0 ** 2)) * math.exp(-z / 25) * 1e-3 + 1e-7
            if z > 15 and x < 0:
                d *= 0.25
            d *= {"lead": 1.8, "cavity": 0.02, "water": 1.0}[region(x, y, z)]
            values.append(d)

with open("phantom_dose.usrbin", "w") as out:
    out.write("1\n *****  Water phantom with a lead block and an air cavity" + " " * 28 + "*****\n\n")
    out.write("           DATE:  9/12/26,  TIME: 12:00:00\n\n")
    out.write("          Total number of particles followed        100000, for a total weight of  1.0000E+05\n\n1\n")
    out.write('   Cartesian binning n.   1  "dose      " , generalized particle n.  228\n')
    for axis, lo in (("X", -10), ("Y", -10), ("Z", 0)):
        out.write("      %s coordinate: from %11.4E to %11.4E cm,    %d bins (%11.4E cm wide)\n"
                  % (axis, lo, lo + N * W, N, W))
    out.write("      Data follow in a matrix A(ix,iy,iz), format (1(5x,1p,10(1x,e11.4)))\n\n")
    out.write("      accurate deposition along the tracks requested\n")
    for i in range(0, len(values), 10):
        out.write("      " + " ".join("%11.4E" % v for v in values[i:i + 10]) + "\n")
