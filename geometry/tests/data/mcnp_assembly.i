A small pin assembly: four slots, placed by TRCL, filled with the pin universe; a shield
c ---------------------------------------------------------------- cells
1    0        -10  fill=1 trcl=1                      imp:n=1 $ pin slots
2    like 1 but trcl=2
3    like 1 but trcl=3
4    like 1 but *trcl=(-4 -4 0  0 90 90  90 0 90  90 90 0)
5    2 -1.0   -20 #1 #2 #3 #4                         imp:n=1 $ water
6    3 -7.9   -21 20                                  imp:n=1 $ steel can
7    4 -2.3   -30 21 #8                               imp:n=1 $ concrete
8    0        -30 21 31 -33                           imp:n=1 $ a channel at the top
9    0        30                                      imp:n=0
c pin universe
11   1 -10.4  -40        u=1 imp:n=1 $ fuel
12   0        40 -41     u=1 imp:n=1 $ gap
13   3 -6.5   41         u=1 imp:n=1 $ clad and beyond, cut by the slot

c ---------------------------------------------------------------- surfaces
10   rcc 0 0 -40  0 0 80  1.2
20   rpp -8 8 -8 8 -45 45
21   rpp -9 9 -9 9 -46 46
30   sph 0 0 0 80
31   pz 50
33   kz 120 0.0625 -1
40   cz 0.8
41   cz 0.9

c ---------------------------------------------------------------- data
tr1  4 4 0
tr2  -4 4 0
tr3  4 -4 0
m1   92235.70c 0.05 92238.70c 0.95
m2   1001.70c 2 8016.70c 1
m3   26000.55c 1
m4   8016.70c 0.6 14028.70c 0.4
mode n
