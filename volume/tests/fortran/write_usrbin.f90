! Writes FLUKA binary USRBIN and voxel files with unformatted sequential WRITE statements, in the
! record order FLUKA uses, so that the record markers are the compiler's: a sum file with two
! binnings and a STATISTICS record, R-Z and R-Phi-Z binnings, a region binning, a file with the
! short header of older versions, and a voxel geometry file.
program write_usrbin
  implicit none
  character(len=1024) :: dir
  character(len=80) :: title
  character(len=32) :: stamp
  integer :: i
  real :: v(1000)
  integer(kind=2) :: vox(12)

  call get_command_argument(1, dir)
  title = '***** Sum file *****'
  stamp = ' DATE:  7/12/26,  TIME: 12:00:00'

  ! Sum file: binning 1 (type 10, 3 x 2 x 2), binning 2 (type 0, 2 x 1 x 1), STATISTICS, errors.
  open(20, file=trim(dir)//'/sum_stats.bin', form='unformatted', access='sequential', &
       status='replace')
  write(20) title, stamp, 2.5e3, 2500, 2500, 1
  write(20) 1, 'dose      ', 10, 208, -3.0, 3.0, 3, 2.0, 0.0, 2.0, 2, 1.0, 10.0, 20.0, 2, 5.0, &
            0, 0.0, 0.0, 0.0
  write(20) (real(i), i = 1, 12)
  write(20) 2, 'second    ', 0, 201, 0.0, 2.0, 2, 1.0, 0.0, 1.0, 1, 1.0, 0.0, 1.0, 1, 1.0, &
            0, 0.0, 0.0, 0.0
  write(20) 7.0, 8.0
  write(20) 'STATISTICS', 1
  write(20) (real(i) / 100.0, i = 1, 12)
  write(20) 0.5, 0.25
  close(20)

  ! R-Z (type 11, one phi bin): 100 rings of 0.1 cm to 10 cm, two z bins; value = ring + 1000 iz.
  open(21, file=trim(dir)//'/rz.bin', form='unformatted', access='sequential', status='replace')
  write(21) title, stamp, 1.0e3, 1000, 1000, 1
  write(21) 3, 'rz        ', 11, 208, 0.0, 10.0, 100, 0.1, -3.1415927, 3.1415927, 1, 6.2831855, &
            0.0, 2.0, 2, 1.0, 0, 0.0, 0.0, 0.0
  do i = 1, 200
    v(i) = real(mod(i - 1, 100) + 1 + 1000 * ((i - 1) / 100))
  end do
  write(21) (v(i), i = 1, 200)
  close(21)

  ! R-Phi-Z (type 1): 3 rings of 1 cm, 4 sectors, one z bin; value = index from 1.
  open(22, file=trim(dir)//'/rphiz.bin', form='unformatted', access='sequential', status='replace')
  write(22) title, stamp, 1.0e3, 1000, 1000, 1
  write(22) 4, 'rphiz     ', 1, 208, 0.0, 3.0, 3, 1.0, -3.1415927, 3.1415927, 4, 1.5707964, &
            0.0, 1.0, 1, 1.0, 0, 0.0, 0.0, 0.0
  write(22) (real(i), i = 1, 12)
  close(22)

  ! Region binning (type 12): regions in the x fields.
  open(23, file=trim(dir)//'/region.bin', form='unformatted', access='sequential', status='replace')
  write(23) title, stamp, 1.0e3, 1000, 1000, 1
  write(23) 5, 'regions   ', 12, 208, 4.0, 4.0, 1, 1.0, 0.0, 0.0, 1, 0.0, 0.0, 0.0, 1, 0.0, &
            0, 0.0, 0.0, 0.0
  write(23) 42.0
  close(23)

  ! Older header: title, date and weight only (116 bytes); cartesian 2 x 2 x 1.
  open(24, file=trim(dir)//'/old116.bin', form='unformatted', access='sequential', status='replace')
  write(24) title, stamp, 4.0
  write(24) 6, 'old       ', 0, 208, 0.0, 2.0, 2, 1.0, 0.0, 2.0, 2, 1.0, 0.0, 1.0, 1, 1.0, &
            0, 0.0, 0.0, 0.0
  write(24) 1.5, 2.5, 3.5, 4.5
  close(24)

  ! Voxel geometry: 3 x 2 x 2 voxels of 0.5 x 1.5 x 2 cm, one int16 per voxel, x fastest.
  open(25, file=trim(dir)//'/phantom.vxl', form='unformatted', access='sequential', &
       status='replace')
  write(25) title
  write(25) 3, 2, 2, 2, 30000
  write(25) 0.5d0, 1.5d0, 2.0d0
  vox = (/ 0_2, 1_2, 2_2, 3_2, 4_2, 5_2, 6_2, 7_2, 8_2, 9_2, -5_2, 30000_2 /)
  write(25) vox
  close(25)
end program write_usrbin
