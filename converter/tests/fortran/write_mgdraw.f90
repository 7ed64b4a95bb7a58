! Writes a small dump the way FLUKA's default mgdraw routine does: single-precision reals,
! a 20-byte header before every payload, no times. Records: a track of one step, a track of
! three steps with two energy deposits along it, a point deposition, a source of two primaries.
program write_mgdraw
  implicit none
  character(len=1024) :: path
  integer :: i
  real :: x(0:3), y(0:3), z(0:3), d(2)

  call get_command_argument(1, path)
  open(unit=20, file=trim(path), form='unformatted', access='sequential', status='replace')

  write(20) 1, 0, 7, 1.5, 1.0
  write(20) 0.0, 0.0, 0.0, 10.0, -2.5, 3.25, 0.125

  x = (/ 1.0, 2.0, 3.0, 4.0 /)
  y = (/ -1.0, -2.0, -3.0, -4.0 /)
  z = (/ 0.5, 1.5, 2.5, 3.5 /)
  d = (/ 0.01, 0.02 /)
  write(20) 3, 2, 1, 2.0, 1.0
  write(20) (x(i), y(i), z(i), i = 0, 3), (d(i), i = 1, 2), 0.25

  write(20) 0, 10, 8, 0.75, 1.0
  write(20) 5.0, 6.0, 7.0, 0.003

  write(20) -4, 2, 2, 20.0, 1.0
  write(20) (1, 10.938272, 1.0, 0.0, 0.0, -50.0, 0.0, 0.0, 1.0, i = 1, 2)

  close(20)
end program write_mgdraw
