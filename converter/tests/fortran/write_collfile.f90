! Writes a small collision file with unformatted sequential WRITE statements, the way a FLUKA
! user routine does: a trajectory, an energy deposition, source particles, a trajectory.
program write_collfile
  implicit none
  character(len=1024) :: path
  integer :: i
  double precision :: x(0:2), y(0:2), z(0:2), age

  call get_command_argument(1, path)
  open(unit=20, file=trim(path), form='unformatted', access='sequential', status='replace')

  x = (/ 0.0d0, 29.9792458d0, 59.9584916d0 /)
  y = 0.0d0
  z = 0.0d0
  age = 3.0d-9
  write(20) 2, 0, 7, 1.0d0, 1.0d0, 1
  write(20) (x(i), y(i), z(i), age, i = 0, 2)

  write(20) 0, 10, 7, 0.5d0, 1.0d0
  write(20) 1.5d0, 0.0d0, -2.0d0, 0.5d0

  write(20) -2, 2, 100000, 10.0d0, 1.0d0
  write(20) (1, 1.0d0, 1.0d0, 0.0d0, 0.0d0, 0.0d0, 0.0d0, 0.0d0, 1.0d0, 0.0d0, i = 1, 2)

  write(20) 1, 0, 1, 2.0d0, 1.0d0, 2
  write(20) (dble(i), dble(i) + 1.0d0, 2.5d0 * i, 4.0d-9, i = 0, 1)

  close(20)
end program write_collfile
