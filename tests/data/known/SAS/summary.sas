/* Summary statistics of the line counts. */
data counts;
  infile 'counts.csv' dlm=',' firstobs=2;
  input path $ code comment; /* from kordelc */
run;

* A statement comment, ended by a semicolon;
proc means data=counts n mean sum;
  var code comment;
  title "Lines /* per file */";
run;

/* Two groups:

   small and large files. */
proc format;
  value size low-100 = 'small' 101-high = 'large';
run;
