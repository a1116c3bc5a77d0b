// Sums the line counts of a project.
function t = total(rows)
    t = sum(rows(:, 1)); // code column
endfunction

/* rows: one per file,

   columns code and comment */
rows = [3 1; 4 2];
disp(total(rows));
marker = "// not a comment";
other = '/* nor this */';
