! The comparison for the MATMUL benchmarks: gfortran's own MATMUL of two
! square REAL*8 matrices.
subroutine f90bench_gfortran_matmul(a, b, c, n) bind(c)
  use iso_c_binding, only: c_double, c_int32_t
  integer(c_int32_t), intent(in) :: n
  real(c_double), intent(in) :: a(n, n), b(n, n)
  real(c_double), intent(out) :: c(n, n)
  c = matmul(a, b)
end subroutine f90bench_gfortran_matmul
